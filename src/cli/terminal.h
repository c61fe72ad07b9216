// Whether the program's standard streams are attached to a terminal: questions are asked,
// progress is drawn and live tables are redrawn in place only there, so that pipes and logs
// get plain lines. And text as a terminal may be given it.
#pragma once

#include <string>
#include <string_view>

namespace lcu::cli {

bool StdinIsTerminal();
bool StdoutIsTerminal();
bool StderrIsTerminal();

/// The program's text is UTF-8; a Windows console shows and reads it as such only when told
/// (elsewhere terminals take UTF-8 already).
void UseUtf8Console();

/// Text from the LCU or from files (configuration id, channel names, units, messages) made
/// safe for a terminal: every control character (below 0x20, 0x7F, 0x80 to 0x9F in their
/// UTF-8 form and as lone bytes) and every direction override (U+202A to U+202E, U+2066 to
/// U+2069) is shown as \xNN, byte by byte, so that such text cannot clear the screen, move
/// the cursor or turn a line round. Other bytes are kept; CSV output keeps all of them.
std::string TerminalSafe(std::string_view text);

}  // namespace lcu::cli
