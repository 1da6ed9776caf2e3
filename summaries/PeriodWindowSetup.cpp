#include "summaries/PeriodWindowSetup.h"

#include "core/AppState.h"
#include "core/CColStrav.h"
#include "platform/Conventions.h"
#include "summaries/PeriodState.h"

namespace trv {

namespace {

// The design state of the controls the load may change.
std::map<QString, PeriodWindowSetup::Control> designState() {
    std::map<QString, PeriodWindowSetup::Control> c;
    for (const char* name :
         {"Label3",         "txtSM",       "Label5",      "dtDek",     "cmdPrintSM",  "chkBalik",   "lblTyden",
          "txtTyden",       "tydenUpDown", "lblBalik",    "txtBalik",  "balikUpDown", "frameVerex", "lblPoradiDavky",
          "txtPoradiDavky", "lblMesic",    "txtMesic",    "lblRok",    "txtRok",      "lblExpFile", "lblCD",
          "txtCD",          "lblPoznOper", "txtPoznOper", "cmdExport", "dt1",         "dt2"})
        c[QString::fromLatin1(name)] = {};
    for (const char* hidden : {"optDatumNacitani", "optDatumVyc", "chkGroupByDay", "chkNespojovatSM", "cmdExportDel"})
        c[QString::fromLatin1(hidden)] = {false, true};
    c[QStringLiteral("cmbZobrPrehleduSm")] = {true, false};
    c[QStringLiteral("cmdExport")] = {true, false};
    return c;
}

QString batchValue(const AppState& state, const char* key, const char* fallback) {
    const QString value = state.config.CtiKonfig(QStringLiteral("CBA_EXPORT_VEREX"), QString::fromLatin1(key),
                                                 QStringLiteral("hodnota nenalezena"));
    return value.left(18) == QLatin1String("hodnota nenalezena") ? QString::fromLatin1(fallback) : value;
}

} // namespace

bool PeriodWindowSetup::visible(const QString& name) const {
    const auto it = controls.find(name);
    return it == controls.end() || it->second.visible;
}

bool PeriodWindowSetup::enabled(const QString& name) const {
    const auto it = controls.find(name);
    return it == controls.end() || it->second.enabled;
}

QString nazevExportuCba(const QString& poradi, const QString& rok, const QString& mesic) {
    return QStringLiteral("ZLO27D") + right(u'0' + poradi.trimmed(), 2) + u'.' + rok.trimmed() +
           right(u'0' + mesic.trimmed(), 2);
}

QStringList popiskyObdobi() {
    return {QStringLiteral("Label1"),          QStringLiteral("Label2"),          QStringLiteral("lblStrav"),
            QStringLiteral("cmdVyp"),          QStringLiteral("cmbDuplicity"),    QStringLiteral("cmdPrint"),
            QStringLiteral("chkGroupByDay"),   QStringLiteral("chkNespojovatSM"), QStringLiteral("optDatumNacitani"),
            QStringLiteral("optDatumVyc"),     QStringLiteral("cmdPrintSM"),      QStringLiteral("cmbZobrPrehleduSm"),
            QStringLiteral("Label3"),          QStringLiteral("Label4"),          QStringLiteral("Label6"),
            QStringLiteral("Label7"),          QStringLiteral("chkBalik"),        QStringLiteral("lblTyden"),
            QStringLiteral("lblBalik"),        QStringLiteral("frameVerex"),      QStringLiteral("lblPoradiDavky"),
            QStringLiteral("lblMesic"),        QStringLiteral("lblRok"),          QStringLiteral("lblPoznOper"),
            QStringLiteral("cmdExport"),       QStringLiteral("cmdExportDel"),    QStringLiteral("cmdEnd"),
            QStringLiteral("cmdSaveTicketsAs")};
}

PeriodWindowSetup nastaveniObdobi(const AppState& state, const QDate& today) {
    const CustomerSwitches& sw = state.sw;
    PeriodWindowSetup s;
    s.controls = designState();
    auto set = [&s](std::initializer_list<const char*> names, std::optional<bool> visible,
                    std::optional<bool> enabled) {
        for (const char* n : names) {
            auto& c = s.controls[QString::fromLatin1(n)];
            if (visible)
                c.visible = *visible;
            if (enabled)
                c.enabled = *enabled;
        }
    };
    s.dt1 = s.dt2 = today;
    s.dtDek = vypocitejPerioduDelvity(today);
    if (sw.gFVycetky)
        set({"cmdExportDel", "chkNespojovatSM"}, true, std::nullopt);
    else
        set({"Label3", "txtSM", "cmdPrintSM"}, std::nullopt, false);
    if (sw.gFVycBezData) {
        set({"Label5", "dtDek"}, false, std::nullopt);
        s.dtDek = today;
    }
    const int types = state.gColStrav ? state.gColStrav->pocetSpolecnosti() : 0;
    s.tiskTypOd = QStringLiteral("1");
    s.tiskTypDo = types >= 5 ? QStringLiteral("4") : QString::number(types);
    set({"cmbZobrPrehleduSm"}, std::nullopt, true);
    if (sw.gF17) {
        set({"Label3", "txtSM", "cmdPrintSM", "cmbZobrPrehleduSm"}, std::nullopt, false);
        set({"cmdExportDel", "chkNespojovatSM"}, false, std::nullopt);
    }
    if (sw.gF17b)
        set({"Label3", "txtSM"}, std::nullopt, true);
    if (!sw.gFBalikyTyden)
        set({"chkBalik", "lblTyden", "txtTyden", "tydenUpDown", "lblBalik", "txtBalik", "balikUpDown"}, false,
            std::nullopt);
    if (sw.gFExportCBA) {
        s.txtPoradiDavky = batchValue(state, "PoradiDavky", "1");
        s.txtMesic = batchValue(state, "MesicDavky", "1");
        s.txtRok = batchValue(state, "RokDavky", "0");
        s.lblExpFile = nazevExportuCba(s.txtPoradiDavky, s.txtRok, s.txtMesic);
    } else {
        set({"frameVerex", "lblPoradiDavky", "txtPoradiDavky", "lblMesic", "txtMesic", "lblRok", "txtRok", "lblExpFile",
             "lblCD", "txtCD", "lblPoznOper", "txtPoznOper"},
            false, std::nullopt);
    }
    set({"chkGroupByDay"}, true, std::nullopt);
    if (sw.gFDatumOdvodu)
        set({"optDatumNacitani", "optDatumVyc"}, true, std::nullopt);
    if (state.gDennySafeBag)
        set({"cmdExport", "cmdExportDel"}, false, std::nullopt);
    if (state.gSafeBag)
        set({"dt1", "dt2"}, std::nullopt, false);
    return s;
}

} // namespace trv
