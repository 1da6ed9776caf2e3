#pragma once

#include "settings/CodeMasks.h"

#include <QDialog>

#include <memory>

namespace trv {

class Config;
class frmMaska;
class Prompts;

namespace Ui {
class frmMaskaNova;
}

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

} // namespace trv
