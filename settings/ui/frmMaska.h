#pragma once

#include "settings/CodeMasks.h"

#include <QDialog>

#include <memory>

namespace trv {

class Config;
class Prompts;

namespace Ui {
class frmMaska;
class frmMaskaNova;
class frmMaskaUpr;
}

// The list of code masks: select, create, edit and delete the mask files of the folder "maska".
class frmMaska final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMaska)

public:
    frmMaska(const Config& config, Prompts& prompts, QWidget* parent = nullptr);
    ~frmMaska() override;

    // After a save, a delete or a refused overwrite: the list is read again and nothing is selected.
    void obnov();
    void zrusVyber();
    QString vybranySoubor() const;

private:
    void Form_Load();
    void flbMaska_Click();
    void btnNova_Click();
    void btnUpravit_Click();
    void btnSmaz_Click();
    void btnNastavit_Click();

    std::unique_ptr<Ui::frmMaska> m_ui;
    const Config& m_config;
    Prompts& m_prompts;
    CodeMasks m_masks;
};

// A new mask and the name of its file.
class frmMaskaNova final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMaskaNova)

public:
    frmMaskaNova(const Config& config, Prompts& prompts, const CodeMasks& masks, frmMaska& list);
    ~frmMaskaNova() override;

private:
    void btnUloz_Click();
    QString chybaText(const QString& detail) const;

    std::unique_ptr<Ui::frmMaskaNova> m_ui;
    const Config& m_config;
    Prompts& m_prompts;
    const CodeMasks& m_masks;
    frmMaska& m_list;
};

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
