#pragma once

#include <QString>

namespace trv {

class Config;
class Shell;

// The two menu commands that only hand something to the desktop shell. Neither reports anything: the remote
// support program and the registration file are outside the program, and an empty or wrong name does nothing
// visible.
inline const QString kRemoteSupportProgram = QStringLiteral("TeamViewerqs_cs.exe");

// runTeamViewer: starts the remote-support program.
void runTeamViewer(Shell& shell);
// regLibrary: opens the file named by [Data] RegKnihovny; nothing when the key is missing or empty.
void regLibrary(const Config& config, Shell& shell);

} // namespace trv
