// Whether the program's standard streams are attached to a terminal: questions are asked,
// progress is drawn and live tables are redrawn in place only there, so that pipes and logs
// get plain lines.
#pragma once

namespace lcu::cli {

bool StdinIsTerminal();
bool StdoutIsTerminal();
bool StderrIsTerminal();

/// The program's text is UTF-8; a Windows console shows and reads it as such only when told
/// (elsewhere terminals take UTF-8 already).
void UseUtf8Console();

}  // namespace lcu::cli
