// Whether the program's standard streams are attached to a terminal: questions are asked,
// progress is drawn and live tables are redrawn in place only there, so that pipes and logs
// get plain lines.
#pragma once

namespace lcu::cli {

bool StdinIsTerminal();
bool StdoutIsTerminal();
bool StderrIsTerminal();

}  // namespace lcu::cli
