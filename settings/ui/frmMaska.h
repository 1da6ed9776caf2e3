#pragma once

#include "settings/CodeMasks.h"

#include <QDialog>

#include <memory>

namespace trv {

class Config;
class Prompts;

namespace Ui {
class frmMaska;
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

} // namespace trv
