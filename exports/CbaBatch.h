#pragma once

#include "exports/ExportContext.h"
#include "platform/DbfTable.h"

#include <QString>

#include <vector>

namespace trv {

struct PeriodExportRequest;

// The template of the accounting batch in the data folder; the batch is a copy of it, the template is never
// changed. Our own 52 columns stand in only when the data folder has none.
inline const QString kCbaTemplateName = QStringLiteral("export_empty.dbf");
const std::vector<DbfField>& cbaBatchFields();

// The work name of the batch file: the last five characters of the name without its dots ("ZLO27D01.501" ->
// "01501").
QString cbaWorkName(const QString& batchFile);

// The CBA/VEREX accounting batch: the period's statement files summed per SM (excluded SMs of
// [CBA_EXPORT_VEREX] NeexportovatSM left out), one debit row per voucher type and one credit row per SM
// written field by field into a copy of the template, which replaces the batch file lblExpFile of the data
// folder only when complete; then the batch counters are stored. On failure the old batch file and the
// stored counters stay. An empty or non-numeric txtCD is refused with a message before anything is read.
Status exportCbaVerex(ExportContext& ctx, const PeriodExportRequest& request);

} // namespace trv
