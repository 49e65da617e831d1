#include "database/recordset.h"
#include "login/loginfrm.h"
#include "login/passwordtext.h"
#include "program/exitcodes.h"
#include "program/program.h"
#include "program/registryaccess.h"
#include "runtime/err.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace zelvan;
using namespace zelvan::login;
using namespace Qt::Literals::StringLiterals;

const QString Critical = u"16: "_s;  // a message as noted: its style, then its text
const QString CheckMessage = Critical + u"Kullanıcı adınızı ve şifrenizi kontrol ediniz."_s;
const QString Connection = Critical + u"Veri Tabanına Bağlanılamadı "_s;

// One dialog on fake services, recording the event loop's ends and every report shown.
struct Dialog
{
    Dialog() : program(fakes.services(), program::CommandLine())
    {
        program.showReport = [this](program::Program &p) { reports.append(p.vars.DatabaseName); };
        form->endEventLoop = [this](int code) { loopEnds.append(QString::number(code)); };
    }
    ~Dialog() { delete form.data(); }

    void open()
    {
        form->Form_Load();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
    }
    void fill(const QString &user, const QString &password, const QString &server)
    {
        form->sysus_nm->setText(user);
        form->sysus->setText(password);
        form->DB_Name->setText(server);
    }
    QString focused() const { return form->focusWidget() ? form->focusWidget()->objectName() : QString(); }
    QString remembered(const QString &name) { return program::RegReadString(program, platform::Registry::CurrentUser, u"DEF_NORVENT"_s, name); }
    void remember(const QString &text) { program::RegWriteString(program, platform::Registry::CurrentUser, u"DEF_NORVENT"_s, u"DEF_KUL"_s, text); }

    test::FakeServices fakes;
    program::Program program;
    QPointer<LoginFrm> form = new LoginFrm(program);
    QStringList loopEnds, reports;
};

class TestLoginFrm : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;

private Q_SLOTS:
    void initTestCase()
    {
        test::addStandardDatabases(m_instance);
        m_instance.addLogin(u"mehmet"_s, QString());
        m_instance.run(u"Defination_DB"_s, {u"CREATE TABLE sysuslng(sysus_ID INT, sysus_nm NVARCHAR(26), sysus NVARCHAR(50))"_s,
            u"INSERT INTO sysuslng VALUES (7, 'ZELVAN', '%1'), (9, 'MEHMET', '')"_s.arg(EncodePassword(u"parola"_s)),
            u"CREATE TABLE sysusfrmlng(sysus_ID INT, sysfrm_ID INT)"_s, u"INSERT INTO sysusfrmlng VALUES (7, 1), (7, 5), (7, 3)"_s,
            u"INSERT INTO sysfrmlng (sysfrm_ID, sysfrm_nm, sysfrm_kd, sysfrm_dbnm, Mali_Yil_Baslangic, Mali_Yil_Bitis) VALUES "
            u"(5, 'Beşinci Ltd.', 'BL', ' FIRMA ', '2026-01-01 00:00:00', NULL), (3, 'Üçüncü', 'UC', 'YOKDB', NULL, NULL)"_s});
    }

    // The remembered user and server, trimmed (the server falls back to the computer's name, read in Windows-1254).
    void defaults_data()
    {
        QTest::addColumn<QByteArray>("computerName");
        QTest::addColumn<QStringList>("remembered");  // DEF_KUL, DEF_SRVR; none when empty
        QTest::addColumn<QString>("computer");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("server");
        QTest::newRow("remembered, trimmed") << "PC"_ba << QStringList{u" ayşe "_s, u" SRV\\A "_s} << u"PC"_s << u"ayşe"_s << u"SRV\\A"_s;
        QTest::newRow("empty server remembered") << "PC"_ba << QStringList{u"ali"_s, u""_s} << u"PC"_s << u"ali"_s << u"PC"_s;
        QTest::newRow("Turkish name, trailing blank") << "\xDD\xDE\xD0  "_ba << QStringList() << u"İŞĞ  "_s << u"norvent"_s << u"İŞĞ"_s;
    }
    void defaults()
    {
        QFETCH(QByteArray, computerName);
        QFETCH(QStringList, remembered);
        Dialog d;
        d.fakes.system.computerName = computerName;
        for (int i = 0; i < remembered.size(); ++i)
            program::RegWriteString(d.program, platform::Registry::CurrentUser, u"DEF_NORVENT"_s, i ? u"DEF_SRVR"_s : u"DEF_KUL"_s, remembered[i]);
        d.form->Form_Load();
        QTEST(d.program.vars.ComputerName, "computer");
        QTEST(d.form->sysus_nm->text(), "user");
        QTEST(d.form->DB_Name->text(), "server");
    }

    // The navigation maps and the tab order; the box with the focus is tinted and its text selected.
    void focusKeys()
    {
        Dialog d;
        LoginFrm &f = *d.form;
        f.sysus->setText(u"gizli"_s);
        d.open();
        QCOMPARE(f.sysus->displayText(), u"*****"_s);
        const auto check = [&](const QString &focus) {  // the tint and the whole text selected, or neither
            QCOMPARE(d.focused(), focus);
            for (QLineEdit *box : {f.sysus_nm, f.sysus, f.DB_Name})
                QCOMPARE(box->palette().color(QPalette::Base).name() + box->selectedText(),
                         box == f.focusWidget() ? u"#fce1d1"_s + box->text() : u"#ffffff"_s);
        };
        check(u"sysus"_s);
        for (const auto &[key, modifiers, focus] : {std::tuple{Qt::Key_Down, Qt::KeyboardModifiers(), u"DB_Name"_s},
                 {Qt::Key_Down, Qt::ShiftModifier, u"sysus_nm"_s}, {Qt::Key_Up, {}, u"DB_Name"_s}, {Qt::Key_Up, Qt::ControlModifier, u"sysus"_s},
                 {Qt::Key_Up, {}, u"sysus_nm"_s}, {Qt::Key_Down, {}, u"sysus"_s}, {Qt::Key_Tab, {}, u"DB_Name"_s}, {Qt::Key_Tab, {}, u"CikisBtn"_s},
                 {Qt::Key_Tab, {}, u"TamamBtn"_s}, {Qt::Key_Tab, {}, u"Kullanici_Ayar_Sakla"_s}, {Qt::Key_Tab, {}, u"sysus_nm"_s}}) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            check(focus);
        }
        // The keys go on to the box: Left moves the caret (the maps name nothing to the left).
        f.sysus_nm->setCursorPosition(3);
        QTest::keyClick(f.sysus_nm, Qt::Key_Left);
        QCOMPARE(f.sysus_nm->cursorPosition(), 2);
    }

    // Failed checks: the box that takes the focus after each; the user panel stays and nothing is remembered.
    void failedLogins()
    {
        Dialog d;
        d.remember(u"eski"_s);
        d.form->Kullanici_Ayar_Sakla->setChecked(true);
        d.open();
        const auto attempt = [&](const QString &password, const QString &server) {
            d.fakes.messages.shown.clear();
            d.fill(u"zelvan"_s, password, server);
            QTest::keyClick(d.form->sysus, Qt::Key_Return);
            return d.fakes.messages.noted().value(0);
        };
        QCOMPARE(attempt(u"yanlis"_s, m_instance.path()), CheckMessage);
        QCOMPARE(d.focused(), u"sysus_nm"_s);
        QCOMPARE(attempt(u"parola"_s, u"127.0.0.1,1"_s), Connection);  // a closed local port
        QCOMPARE(d.focused(), u"DB_Name"_s);
        QVERIFY(d.form->KullaniciPnl->isVisible());
        QCOMPARE(d.remembered(u"DEF_KUL"_s), u"eski"_s);
    }

    // Leaving the dialog, or an accepted login: the remembered defaults and the choice of a company.
    void choose_data()
    {
        QTest::addColumn<QString>("login");   // user and password; empty: none
        QTest::addColumn<QString>("action");  // "exit", "close", "double-click", or keys: "escape", "down", "enter"
        QTest::addColumn<Qt::CheckState>("remember");
        QTest::addColumn<QStringList>("reports");    // the databases whose reports were shown
        QTest::addColumn<QStringList>("loopEnds");   // the event loop's ends, by code
        QTest::addColumn<int>("exitCode");           // -1: the program did not end
        const QStringList none;
        QTest::newRow("Escape in the password box") << u""_s << u"escape"_s << Qt::Checked << none << none << 0;
        QTest::newRow("Exit button") << u""_s << u"exit"_s << Qt::Checked << none << none << 0;
        QTest::newRow("closed through the frame") << u""_s << u"close"_s << Qt::Checked << none << QStringList{u"0"_s} << -1;
        QTest::newRow("Escape in the company grid") << u"zelvan parola"_s << u"escape"_s << Qt::Unchecked << none << none << 0;
        // The run that ends the program goes through a key: a throw out of Qt's mouse
        // delivery would leak its event copy under the sanitizer.
        QTest::newRow("double-click, first row, trimmed database") << u"zelvan parola"_s << u"double-click"_s << Qt::Checked
                                                                   << QStringList{u"FIRMA"_s} << QStringList{u"0"_s} << -1;
        QTest::newRow("Enter, second row: no such database") << u"zelvan parola"_s << u"down enter"_s << Qt::PartiallyChecked << none
                                                             << none << 3;
        // An empty list: the choice is ignored and the dialog stays.
        QTest::newRow("a user without companies") << u"mehmet "_s << u"enter"_s << Qt::Checked << none << none << -1;
    }
    void choose()
    {
        QFETCH(QString, login);
        QFETCH(QString, action);
        QFETCH(Qt::CheckState, remember);
        Dialog d;
        d.remember(u"eski"_s);
        d.form->Kullanici_Ayar_Sakla->setCheckState(remember);
        d.open();
        if (!login.isEmpty()) {
            const QStringList fields = login.split(u' ');
            const QString server = u" "_s + m_instance.path() + u"  "_s;
            d.fill(fields[0], fields[1], server);
            QTest::mouseClick(d.form->TamamBtn, Qt::LeftButton);
            QVERIFY(d.form->FirmaPnl->isVisible());
            QVERIFY(!d.form->KullaniciPnl->isVisible());
            QCOMPARE(d.focused(), u"TDBG1"_s);
            QCOMPARE(d.remembered(u"DEF_KUL"_s), remember == Qt::Checked ? fields[0] : u"eski"_s);
            QCOMPARE(d.remembered(u"DEF_SRVR"_s), remember == Qt::Checked ? server.trimmed() : QString());
        }
        QWidget *cells = d.form->TDBG1->viewport();
        const QPoint first = d.form->TDBG1->visualRect(d.form->TDBG1->model()->index(0, 0)).center();
        const int code = test::exitCodeOf([&] {
            if (action == u"exit") {  // click() releases: a throw out of Qt's mouse delivery would leak its event copy
                QTest::mousePress(d.form->CikisBtn, Qt::LeftButton);
                d.form->CikisBtn->click();
            } else if (action == u"close") {
                d.form->close();
            } else if (action == u"double-click") {
                QTest::mouseClick(cells, Qt::LeftButton, {}, first);
                QTest::mouseDClick(cells, Qt::LeftButton, {}, first);
            } else {
                for (const QString &key : action.split(u' '))
                    QTest::keyClick(QApplication::focusWidget(), key == u"down" ? Qt::Key_Down : key == u"enter" ? Qt::Key_Enter : Qt::Key_Escape);
            }
        });
        QTEST(d.reports, "reports");
        QTEST(d.loopEnds, "loopEnds");
        QTEST(code, "exitCode");
        const bool left = login.isEmpty() || action == u"escape";  // without a choice
        QVERIFY(!left || d.fakes.messages.shown.isEmpty());
        if (left)
            return;
        const bool chosen = code != -1 || !d.loopEnds.isEmpty();
        QCOMPARE(d.form->isVisible(), !chosen);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(d.form.isNull(), chosen);
    }
};

QTEST_MAIN(TestLoginFrm)
#include "tst_loginfrm.moc"
