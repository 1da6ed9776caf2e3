#include "settings/WorkingMode.h"

#include "core/AppState.h"
#include "core/SettingsLoader.h"

namespace trv {

Status zvolRezim(AppState& state, PracovniRezim rezim) {
    Result<std::filesystem::path> folder = DejCestuDat(state.config);
    if (rezim == PracovniRezim::DennySafeBag)
        folder = DejCestuDenSFB(state.config);
    else if (rezim == PracovniRezim::SafeBag)
        folder = DejCestuSFB(state.config);
    if (!folder.ok())
        return Status::fail(folderErrorText(state.config, DataFolder::Dat, folder.error()), folder.error().number);
    state.gSafeBag = rezim == PracovniRezim::SafeBag;
    state.gDennySafeBag = rezim == PracovniRezim::DennySafeBag;
    state.gDatovyAdresar = folder.value();
    return Status::success();
}

} // namespace trv
