#include "reports/tests/ReportsFixture.h"

#include <iostream>

using namespace trv;
using namespace trv::test;

namespace {

void dump(const char* what, const QStringList& l) {
    std::cout << "=== " << what << "\n";
    for (const QString& s : l)
        std::cout << "\"" << s.toStdString() << "\",\n";
}

TEST(SmReportsDump, All) {
    ReportsEnv env;
    SmReports reports(env.services());
    Printer printer;
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    auto r = reports.tiskniObdobiSM(printer, env.choice());
    printer.endDoc();
    dump("7.104 runs", runsOf(printer.printed().back()));
    dump("7.104 lines", printer.printed().back().textLines());
    dump("uct", QString::fromLatin1(env.bytes(env.folder / "uct" / "240205.uct")).split(u'\n'));
    env.state.sw.gF15 = true;
    env.prompts.queueAnswer(Prompts::Answer::Yes);
    r = reports.tiskniObdobiSMProvize(printer, env.choice());
    printer.endDoc();
    dump("7.106 runs", runsOf(printer.printed().back()));
    dump("uct", QString::fromLatin1(env.bytes(env.folder / "uct" / "240205.uct")).split(u'\n'));
    env.prompts.queueAnswer(Prompts::Answer::No);
    r = reports.zobrazPrehledSMProvize(env.choice());
    dump("7.107", r.rtbText->split(QStringLiteral("\r\n")));
    r = reports.zobrazPrehledSM(env.choice());
    dump("7.110", r.rtbText->split(QStringLiteral("\r\n")));
    r = reports.tiskniPrehledSMTriSpol(printer, env.choice());
    printer.endDoc();
    dump("7.108 lines", printer.printed().back().textLines());
    env.prompts.queueAnswer(Prompts::Answer::No);
    r = reports.tiskniPrehledSMPetSpol(printer, env.choice());
    printer.endDoc();
    dump("7.109 lines", printer.printed().back().textLines());
}

} // namespace
