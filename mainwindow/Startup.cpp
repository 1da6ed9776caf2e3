#include "mainwindow/Startup.h"

#include "core/CColStrav.h"
#include "core/DefaultConfig.h"
#include "core/SettingsLoader.h"
#include "platform/ProfileFile.h"
#include "platform/TextFiles.h"

namespace trv {

Status Main(AppState& state, const std::filesystem::path& programFolder, Prompts& prompts) {
    state.programFolder = programFolder;
    // A folder copied from a Windows installation may spell it "trv7300.ini": that file is the configuration.
    const std::filesystem::path iniFile = souborProgramu(programFolder, kConfigFileName);
    state.config.setIniFile(iniFile);

    // Decided before anything writes to the file: the settings loader itself writes [Firma] FirmaID.
    bool writeFailureShown = false;
    if (!TextFiles::exists(iniFile)) {
        if (const Status written = VytvorVychoziKonfiguraci(iniFile, programFolder); written.ok()) {
            prompts.info(defaultConfigCreatedMessage());
        } else {
            prompts.error(written.message());
            writeFailureShown = true;
        }
    } else if (const Result<QByteArray> readable = TextFiles::readBytes(iniFile); !readable.ok()) {
        // A configuration that cannot be read (a FIFO, a folder, no permission) stops the start: going on would
        // take every setting for its default and report a missing data folder instead.
        prompts.error(readable.message());
        return Status(readable.error());
    }

    // The language file name is a file name: never cut. Installations spell it in any letter case.
    const QString languageName =
        ProfileFile::read(iniFile, QStringLiteral("General"), QStringLiteral("Lang"), kDefaultLanguageFileName);
    state.config.setLanguageFile(TextFiles::findCaseInsensitive(programFolder, languageName)
                                     .value_or(programFolder / TextFiles::toPath(languageName)));

    state.gSafeBag = false;
    state.gTypDobropis = false;
    state.gTypDovolena = false;
    state.gTypDarkove = false;
    state.gTypUni = false;
    state.gKontrolaPlatnostiZap = true;

    // The switches are loaded even when writing the empty FirmaID fails; a folder that could not take the
    // default file has been reported already.
    if (const Status loaded = NactiNastaveni(state); !loaded.ok() && !writeFailureShown)
        prompts.error(loaded.message());

    // Without its data folder the program cannot keep a receipt: stop here, before any window opens.
    if (const Status folders = loadDataFolders(state); !folders.ok()) {
        prompts.error(folderErrorText(state.config, DataFolder::Dat, folders.error()));
        return folders;
    }
    loadMainWindowSettings(state);
    return Status::success();
}

Status NactiTypyStravenek(AppState& state, Prompts& prompts, const Clock& clock) {
    state.gColStrav = std::make_shared<CColStrav>(state, prompts, clock);
    if (const Status loaded = state.gColStrav->NactiINI(); !loaded.ok()) {
        prompts.error(loaded.message());
        return loaded;
    }
    if (state.gColStrav->count() == 0) {
        prompts.message(QStringLiteral("Soubor %1 nedefinuje žádný typ stravenek: kódy nebude možné rozpoznat.")
                            .arg(TextFiles::toQString(state.gColStrav->typStravIni())),
                        Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
    }
    return Status::success();
}

} // namespace trv
