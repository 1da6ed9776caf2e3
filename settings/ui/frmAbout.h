#pragma once

#include <QDialog>

#include <memory>

namespace trv {

class Config;
class Shell;

namespace Ui {
class frmAbout;
}

// The about box: product, version, description and the maker's contact; a click on the web or mail address
// (or its frame) opens it through the shell.
class frmAbout final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAbout)

public:
    frmAbout(const Config& config, Shell& shell, QWidget* parent = nullptr);
    ~frmAbout() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void frmWeb_Click();
    void frmMail_Click();

    std::unique_ptr<Ui::frmAbout> m_ui;
    Shell& m_shell;
};

} // namespace trv
