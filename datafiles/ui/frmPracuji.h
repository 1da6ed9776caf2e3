#pragma once

#include <QWidget>

#include <memory>

namespace trv {

class Config;

namespace Ui {
class frmPracuji;
}

// A small window without buttons telling the operator that the program is busy. The message is
// set once, when the window is made.
class frmPracuji final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmPracuji)

public:
    frmPracuji(const Config& config, const QString& message, QWidget* parent = nullptr);
    ~frmPracuji() override;

private:
    std::unique_ptr<Ui::frmPracuji> m_ui;
};

} // namespace trv
