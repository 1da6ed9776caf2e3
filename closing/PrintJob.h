#pragma once

#include "platform/Printer.h"

#include <QString>

#include <optional>

namespace trv {

class Config;
class Prompts;

// Ends the document built in the printer with the copies asked for and hands it on. A print that went to a PDF
// file because no printer is installed is reported with the file's place (text TiskDoSouboru of the window's
// language section); a failed print with text ChybaTisku and the reason. nullopt after a failure.
std::optional<PrintOutcome> dokonciTisk(Printer& printer, int copies, const Config& config, Prompts& prompts,
                                        const QString& section);

} // namespace trv
