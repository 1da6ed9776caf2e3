#pragma once

#include <QString>

namespace trv {

class Config;
class Prompts;
class Shell;

// The two menu commands that only hand something to the desktop shell. The remote support program and the
// registration file are outside the program; what the shell cannot open is told with the shell's reason.
inline const QString kRemoteSupportProgram = QStringLiteral("TeamViewerqs_cs.exe");

// runTeamViewer: starts the remote-support program.
void runTeamViewer(Shell& shell, Prompts& prompts);
// regLibrary: opens the file named by [Data] RegKnihovny; without the key it says that no file is set.
void regLibrary(const Config& config, Shell& shell, Prompts& prompts);

} // namespace trv
