#pragma once

#include "login/logincheck.h"

#include <QList>
#include <QPixmap>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace zelvan::database {
class Recordset;
class RecordsetModel;
} // namespace zelvan::database

namespace zelvan::program {
class Program;
} // namespace zelvan::program

namespace zelvan::login {

// The login dialog: user name, password and server on the user panel; after
// a successful check, the user's companies on the company panel. Choosing a
// company hands over to ConnectAndShowReport.
class LoginFrm : public QWidget
{
    Q_OBJECT

public:
    explicit LoginFrm(program::Program &program, QWidget *parent = nullptr);
    ~LoginFrm() override;

    // The controls, by their names (also their object names).
    QFrame *KullaniciPnl = nullptr;
    QLabel *Zemin = nullptr;
    QLabel *Label18 = nullptr;
    QLineEdit *sysus_nm = nullptr;
    QLabel *Label17 = nullptr;
    QLineEdit *sysus = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *DB_Name = nullptr;
    QPushButton *TamamBtn = nullptr;
    QPushButton *CikisBtn = nullptr;
    QCheckBox *Kullanici_Ayar_Sakla = nullptr;
    QFrame *FirmaPnl = nullptr;
    QTableView *TDBG1 = nullptr;
    QList<QPixmap> ImageList1;

    // The user lookup, then the company list that TDBG1 shows.
    std::shared_ptr<database::Recordset> LoginRecordset;

    // Ends the event loop once the dialog is gone and no window is left
    // (closed through its frame, or the company chosen and nothing shown).
    // QCoreApplication::exit unless replaced.
    std::function<void(int exitCode)> endEventLoop;

    // Event handlers and procedures of the form.
    void Form_Load();
    void Form_Activate();
    void Form_KeyDown(int KeyCode, int Shift);
    void CikisBtn_Click();
    void FirmaPnl_Click();
    void Def_Kullanici_Oku();
    void Def_Kullanici_Kaydet();
    void TamamBtn_Click();
    void SetupCompanyGrid();
    void ChooseCompany();
    void TDBG1_KeyHandler(int KeyCode, int Shift);
    // The GotFocus, KeyDown and LostFocus handlers, alike for the three text boxes.
    void TextBox_GotFocus(QLineEdit *box);
    void TextBox_KeyDown(QLineEdit *box, int KeyCode, int Shift);
    void TextBox_LostFocus(QLineEdit *box);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The controls, group by group, in the order of the form's Controls collection.
    void buildControls();
    void buildPicture();
    void buildUserBoxes();
    void buildButtons();
    void buildCompanyGrid();
    void setUpKeys();
    QLineEdit *textBox(QObject *object) const;
    // Runs an event handler. A run-time error that no trap caught is shown
    // and ends the program, as the old runtime did.
    void runHandler(const std::function<void()> &handler);

    program::Program &m_program;
    LoginCheck m_check;  // keeps the count of refused logins across presses of OK
    database::RecordsetModel *m_companies = nullptr;
    bool m_activated = false;
    QLineEdit *m_focusedBox = nullptr;  // the text box whose GotFocus ran last
};

// Main's dialog start: creates LoginFrm, runs Form_Load and shows the dialog
// modeless. The dialog deletes itself when it is closed or unloaded.
LoginFrm *showLoginFrm(program::Program &program);

} // namespace zelvan::login
