#pragma once

#include "datafiles/DataFileList.h"

#include <QDialog>

#include <filesystem>
#include <memory>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QStringListModel;

namespace trv {

struct AppState;
class Clock;
class Printer;
class Prompts;
class ReaderControl;

namespace Ui {
class frmSoubory;
}

// The browser of the day data files of the folder [Data] Dir: finding a file by a text of its name, by its date
// or by its SM (find, find next, filter), opening it in the editor, saving it under another name, deleting it with
// its statement file, printing it or its summary, and giving it another SM. The lists are model views filled in
// one go, so that a folder of a few hundred thousand files opens and filters without freezing.
class frmSoubory final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSoubory)

public:
    struct Services {
        AppState& state;
        Prompts& prompts;
        const Clock& clock;
        Printer& printer;
        ReaderControl& reader;
        QString printFontName; // the font of the main window's code box, for the summary print
    };

    explicit frmSoubory(const Services& services, QWidget* parent = nullptr);
    ~frmSoubory() override;

    // Reads the data folder and lists its files. False, after the message, when the folder cannot be read:
    // the browser is then not shown (the rest of the program goes on).
    bool Form_Load();

    const std::filesystem::path& dataFolder() const { return m_folder; }

private:
    struct SearchKey {
        DataFileList::Key key;
        QLineEdit* box;
        QPushButton* najdi;
        QPushButton* najdiDal;
        QCheckBox* filtr;
    };

    void flbSoubor_Click();
    void lstFilter_Click();
    void btnOtevri_Click();
    void btnSmaz_Click();
    void btnUlozJako_Click();
    void btnTisk_Click();
    void btnTiskSouc_Click();
    void btnZamenSM_Click();
    void btnZavri_Click();
    void btnNajdiText_Click() { najdi(m_text); }
    // Enter in the text box: the find, when the box holds something to find.
    void txtHled_KeyPress();
    void btnNajdiDatum_Click() { najdi(m_datum); }
    void btnNajdiSM_Click() { najdi(m_sm); }
    void btnNajdiDalText_Click() { najdiDal(m_text); }
    void btnNajdiDalDatum_Click() { najdiDal(m_datum); }
    void btnNajdiDalSM_Click() { najdiDal(m_sm); }
    void chkFilterText_Click() { filtr(m_text); }
    void chkFilterDatum_Click() { filtr(m_datum); }
    void chkFilterSM_Click() { filtr(m_sm); }
    void txtHled_Change();
    void txtDatum_Change() { keyTextChanged(m_datum); }
    void txtSM_Change() { keyTextChanged(m_sm); }

    void najdi(const SearchKey& k);
    void najdiDal(const SearchKey& k);
    void filtr(const SearchKey& k);
    void keyTextChanged(const SearchKey& k);
    DataFileList::Query query(const SearchKey& k) const;

    // Re-reads the folder in one go; the entry of that name is selected again when it is still there.
    void reRead(const QString& select);
    void select(qsizetype index);
    std::optional<qsizetype> selectedIndex() const;
    QString selectedName() const;
    QString filterSelectedName() const;
    void setFileButtons(bool enabled);
    QString text(const char* key) const;
    QString errorText(const char* key, const Error& error, const QString& descr) const;
    void finishPrint(bool summary);

    AppState& m_state;
    Prompts& m_prompts;
    const Clock& m_clock;
    Printer& m_printer;
    ReaderControl& m_reader;
    QString m_printFontName;
    std::unique_ptr<Ui::frmSoubory> m_ui;
    QStringListModel* m_files = nullptr;
    QStringListModel* m_filter = nullptr;
    std::filesystem::path m_folder;
    DataFileList m_list;
    SearchKey m_text{};
    SearchKey m_datum{};
    SearchKey m_sm{};
};

} // namespace trv
