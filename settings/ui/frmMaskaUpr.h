#pragma once

#include "settings/CodeMasks.h"

#include <QDialog>

#include <memory>

namespace trv {

class Config;
class frmMaska;
class Prompts;

namespace Ui {
class frmMaskaUpr;
}

// Editing the selected mask.
class frmMaskaUpr final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMaskaUpr)

public:
    frmMaskaUpr(const Config& config, Prompts& prompts, const CodeMasks& masks, frmMaska& list);
    ~frmMaskaUpr() override;

    // False when the selected file could not be read (the operator has been told): the window is not shown.
    bool nacteno() const { return m_nacteno; }

private:
    void btnUloz_Click();

    std::unique_ptr<Ui::frmMaskaUpr> m_ui;
    const Config& m_config;
    Prompts& m_prompts;
    const CodeMasks& m_masks;
    frmMaska& m_list;
    QString m_soubor;
    bool m_nacteno = false;
};

} // namespace trv
