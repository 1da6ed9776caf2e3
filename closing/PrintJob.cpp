#include "closing/PrintJob.h"

#include "core/ConfigAccess.h"
#include "platform/Prompts.h"
#include "platform/TextFiles.h"

namespace trv {

std::optional<PrintOutcome> dokonciTisk(Printer& printer, int copies, const Config& config, Prompts& prompts,
                                        const QString& section) {
    printer.setCopies(copies);
    const auto outcome = printer.endDoc();
    if (!outcome.ok()) {
        prompts.error(config.DejText(section, QStringLiteral("ChybaTisku")) + QStringLiteral("\r\n") +
                      outcome.message());
        return std::nullopt;
    }
    if (!outcome.value().pdfFile.empty()) {
        prompts.info(config.DejText(section, QStringLiteral("TiskDoSouboru")) +
                     TextFiles::toQString(outcome.value().pdfFile));
    }
    return outcome.value();
}

} // namespace trv
