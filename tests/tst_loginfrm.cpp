#include "login/loginfrm.h"
#include "login/passwordtext.h"
#include "platform/err.h"
#include "platform/messageboxes.h"
#include "platform/programexit.h"
#include "platform/recordset.h"
#include "platform/registry.h"
#include "startup/program.h"
#include "startup/registryaccess.h"
#include "support/fakeservices.h"
#include "support/testinstance.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString Critical = u"16: "_s;  // a message as noted: its style, then its text
const QString CheckMessage = Critical + u"Kullanıcı adınızı ve şifrenizi kontrol ediniz."_s;
const QString NoServer = u"127.0.0.1,1"_s;  // a closed local port
const QString Connection = Critical + u"Veri Tabanına Bağlanılamadı "_s;

// The exit code with which `action` ended the program; -1: it didn't.
int endsWith(const auto &action)
{
    try {
        action();
    } catch (const platform::ProgramEnded &ended) {
        return ended.exitCode;
    }
    return -1;
}

// One dialog on fake services, recording the event loop's ends and every report shown.
struct Dialog
{
    Dialog()
        : program(fakes.services(), platform::CommandLine())
    {
        program.showReport = [this](Program &p) { reports.append(p.vars.DatabaseName); };
        form = new LoginFrm(program);
        form->endEventLoop = [this](int code) { loopEnds.append(code); };
    }
    ~Dialog() { delete form.data(); }

    void open()
    {
        form->Form_Load();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
    }
    void login(const QString &user, const QString &password, const QString &server)
    {
        open();
        form->sysus_nm->setText(user);
        form->sysus->setText(password);
        form->DB_Name->setText(server);
        QTest::mouseClick(form->TamamBtn, Qt::LeftButton);
    }
    QString focused() const { return form->focusWidget() ? form->focusWidget()->objectName() : QString(); }
    QStringList messages() const
    {
        QStringList noted;
        for (const auto &m : fakes.messages.shown)
            noted.append(QString::number(m.style) + u": "_s + m.text);
        return noted;
    }
    QString remembered(const QString &name) { return RegReadString(program, platform::Registry::CurrentUser, Key, name); }
    void remember(const QString &name, const QString &text) { RegWriteString(program, platform::Registry::CurrentUser, Key, name, text); }
    const QString Key = u"DEF_NORVENT"_s;

    test::FakeServices fakes;
    Program program;
    QPointer<LoginFrm> form;
    QList<int> loopEnds;
    QStringList reports;
};

} // namespace

class TestLoginFrm : public QObject
{
    Q_OBJECT

    test::TestInstance m_instance;
    test::TestInstance m_noUsers;  // Defination_DB without sysuslng
    test::TestInstance m_noPairs;  // Defination_DB without sysusfrmlng

    // "$I", "$U" and "$P" in a server name stand for the three instances.
    QString resolve(QString name) const
    {
        return name.replace(u"$I"_s, m_instance.path()).replace(u"$U"_s, m_noUsers.path()).replace(u"$P"_s, m_noPairs.path());
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString users = u"CREATE TABLE sysuslng(sysus_ID INT, sysus_nm NVARCHAR(26), sysus NVARCHAR(50))"_s;
        const QString userRows = u"INSERT INTO sysuslng VALUES (7, 'ZELVAN', '%1'), (8, 'RET', '%2'), (9, 'MEHMET', ''), "
                                 u"(10, 'O''NEİL', '%3')"_s.arg(EncodePassword(u"parola"_s), EncodePassword(u"ret"_s),
                                                                 EncodePassword(u"q"_s));
        test::addStandardDatabases(m_instance);
        for (const auto &[name, password] : {std::pair{u"kimse"_s, u"kimse"_s}, {u"mehmet"_s, QString()},
                                             {u"ret"_s, u"ret"_s}, {u"o'neil"_s, u"q"_s}})
            m_instance.addLogin(name, password);
        m_instance.run(u"Defination_DB"_s, {
            users, userRows, u"CREATE TABLE sysusfrmlng(sysus_ID INT, sysfrm_ID INT)"_s,
            u"INSERT INTO sysusfrmlng VALUES (7, 1), (7, 5), (7, 3), (8, 1), (10, 1)"_s,
            u"INSERT INTO sysfrmlng (sysfrm_ID, sysfrm_nm, sysfrm_kd, sysfrm_dbnm, Mali_Yil_Baslangic, Mali_Yil_Bitis) "
            u"VALUES (5, 'Beşinci Ltd.', 'BL', ' FIRMA ', '2026-01-01 00:00:00', NULL), "
            u"(3, 'Üçüncü', 'UC', 'YOKDB', NULL, NULL)"_s,
            u"INSERT INTO Kullanici VALUES (8, 1, 0, 1), (10, 1, 1, 1)"_s,
        });
        test::addStandardDatabases(m_noUsers);
        test::addStandardDatabases(m_noPairs);
        m_noPairs.run(u"Defination_DB"_s, {users, userRows});
    }

    void defaults_data()
    {
        QTest::addColumn<QByteArray>("computerName");
        for (const char *column : {"rememberedUser", "rememberedServer", "computerField", "user", "server"})
            QTest::addColumn<QString>(column);  // remembered: null for no value
        const QString none, norvent = u"norvent"_s;
        QTest::newRow("remembered, trimmed") << "PC"_ba << u" ayşe "_s << u" SRV\\A "_s << u"PC"_s << u"ayşe"_s << u"SRV\\A"_s;
        QTest::newRow("empty server remembered") << "PC"_ba << u"ali"_s << u""_s << u"PC"_s << u"ali"_s << u"PC"_s;
        QTest::newRow("Turkish name, trailing blank") << "\xDD\xDE\xD0  "_ba << none << none << u"İŞĞ  "_s << norvent << u"İŞĞ"_s;
        QTest::newRow("no name") << QByteArray() << none << none << none << norvent << none;
    }
    void defaults()
    {
        QFETCH(QByteArray, computerName);
        QFETCH(QString, rememberedUser);
        QFETCH(QString, rememberedServer);
        Dialog d;
        d.fakes.system.computerName = computerName;
        if (!rememberedUser.isNull())
            d.remember(u"DEF_KUL"_s, rememberedUser);
        if (!rememberedServer.isNull())
            d.remember(u"DEF_SRVR"_s, rememberedServer);
        d.form->Form_Load();
        QTEST(d.program.vars.ComputerName, "computerField");
        QTEST(d.form->sysus_nm->text(), "user");
        QTEST(d.form->DB_Name->text(), "server");
        QCOMPARE(d.program.vars.DatabaseName, u"Defination_DB"_s);
    }

    // The navigation maps and the tab order; the box with the focus is tinted and its text selected.
    void focusAndKeys()
    {
        Dialog d;
        LoginFrm &f = *d.form;
        f.sysus->setText(u"gizli"_s);
        d.open();
        QCOMPARE(f.sysus->displayText(), u"*****"_s);
        f.DB_Name->setText(u"SUNUCU"_s);
        const auto check = [&](const QString &focus) {
            QCOMPARE(d.focused(), focus);
            for (QLineEdit *box : {f.sysus_nm, f.sysus, f.DB_Name})
                QCOMPARE(box->palette().color(QPalette::Base), box == f.focusWidget() ? QColor(252, 225, 209) : Qt::white);
            if (auto *box = qobject_cast<QLineEdit *>(f.focusWidget()))
                QCOMPARE(box->selectedText(), box->text());
        };
        check(u"sysus"_s);
        const std::tuple<Qt::Key, Qt::KeyboardModifiers, QString> steps[] = {
            {Qt::Key_Down, {}, u"DB_Name"_s}, {Qt::Key_Down, Qt::ShiftModifier, u"sysus_nm"_s}, {Qt::Key_Up, {}, u"DB_Name"_s},
            {Qt::Key_Up, Qt::ControlModifier, u"sysus"_s}, {Qt::Key_Up, {}, u"sysus_nm"_s}, {Qt::Key_Down, {}, u"sysus"_s},
            {Qt::Key_Tab, {}, u"DB_Name"_s}, {Qt::Key_Tab, {}, u"CikisBtn"_s}, {Qt::Key_Tab, {}, u"TamamBtn"_s},
            {Qt::Key_Tab, {}, u"Kullanici_Ayar_Sakla"_s}, {Qt::Key_Tab, {}, u"sysus_nm"_s},
        };
        for (const auto &[key, modifiers, focus] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            check(focus);
        }
        // The keys go on to the box: Left moves the caret (the maps name nothing to the left).
        f.sysus_nm->setCursorPosition(3);
        QTest::keyClick(f.sysus_nm, Qt::Key_Left);
        QCOMPARE(f.sysus_nm->cursorPosition(), 2);
        QVERIFY(d.fakes.messages.shown.isEmpty());

        // Focus given while the window was inactive (after a message box) moves on the way back.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        f.sysus->setFocus();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        check(u"sysus"_s);
    }

    // Failed checks in a row: their messages and focus moves; only refused logins count, the third ends.
    void failedLogins()
    {
        Dialog d;
        d.remember(u"DEF_KUL"_s, u"eski"_s);
        d.form->Kullanici_Ayar_Sakla->setChecked(true);
        d.open();
        const auto attempt = [&](const QString &user, const QString &password, const QString &server) {
            d.fakes.messages.shown.clear();
            d.form->sysus_nm->setText(user);
            d.form->sysus->setText(password);
            d.form->DB_Name->setText(resolve(server));
            QTest::keyClick(d.form->sysus, Qt::Key_Return);
            return d.messages();
        };
        QCOMPARE(attempt(u"zelvan"_s, u"yanlis"_s, u"$I"_s), QStringList{CheckMessage});
        QCOMPARE(d.focused(), u"sysus_nm"_s);
        // A connection that failed for a reason other than the login: the notice, the driver's text, its number.
        const QStringList unreachable = attempt(u"zelvan"_s, u"parola"_s, u"  "_s + NoServer + u" "_s);
        QCOMPARE(unreachable.size(), 3);
        QCOMPARE(unreachable[0], Connection);
        QVERIFY2(unreachable[1].size() > 3 && unreachable[1].startsWith(u"0: "_s), qPrintable(unreachable[1]));
        QCOMPARE(unreachable[2], u"0: -2147467259"_s);
        QCOMPARE(d.focused(), u"DB_Name"_s);
        QCOMPARE(d.program.vars.ServerName, NoServer);
        const QString userQuery =
            u"SELECT sysus_ID FROM sysuslng WHERE sysus_nm='ZELVAN' and sysus='%1'"_s.arg(EncodePassword(u"parola"_s));
        QCOMPARE(attempt(u"zelvan"_s, u"parola"_s, u"$U"_s),
                 (QStringList{Critical + u"Invalid object name 'sysuslng'."_s, Critical + userQuery, Connection,
                              u"0: "_s + platform::objectClosedError().description(), u"0: 3704"_s}));
        QCOMPARE(attempt(u"kimse"_s, u"kimse"_s, u"$I"_s), QStringList{CheckMessage});  // no sysuslng row
        QCOMPARE(d.form->LoginAttempts, quint8(2));
        QVERIFY(d.form->KullaniciPnl->isVisible());
        QCOMPARE(endsWith([&] { attempt(u"zelvan"_s, u"yanlis"_s, u"$I"_s); }), platform::ExitCode::TooManyLogins);
        QCOMPARE(d.messages(),
                 QStringList{Critical + u"Giriş Hatası Böyle Bir Kullanıcı Tanımlı Değil.Deneme Sayınız Bitmiştir."_s});
        QCOMPARE(d.remembered(u"DEF_KUL"_s), u"eski"_s);
    }

    // The grid's rows and visible columns, set up again by a click on its panel.
    void companyGrid()
    {
        Dialog d;
        d.login(u"zelvan"_s, u"parola"_s, m_instance.path());
        QCOMPARE(d.program.vars.UserId, 7);
        QTableView *grid = d.form->TDBG1;
        const QAbstractItemModel *model = grid->model();
        QStringList rows;
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells.append(model->index(r, c).data().toString() + (grid->isColumnHidden(c) ? u""_s : u"*"_s));
            rows.append(cells.join(u'|'));
        }
        QCOMPARE(rows, (QStringList{u"Beşinci Ltd.*|BL*| FIRMA |5|01.01.2026|"_s, u"Üçüncü*|UC*|YOKDB|3||"_s,
                                    u"Deneme Ticaret A.Ş.*|DT*|FIRMA|1|01.01.2026|31.12.2026"_s}));
        QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable));
        QCOMPARE(grid->currentIndex().row(), 0);

        const int width = grid->columnWidth(0);
        grid->setColumnWidth(0, 40);
        grid->setCurrentIndex(model->index(2, 0));
        QTest::mouseClick(d.form->FirmaPnl, Qt::LeftButton, {}, QPoint(160, 5));
        QCOMPARE(grid->columnWidth(0), width);
        QCOMPARE(d.form->LoginRecordset->absolutePosition(), 2);
        QCOMPARE(grid->currentIndex().row(), 2);
        grid->setColumnWidth(0, 40);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(grid->columnWidth(0), 40);  // a click in the grid is no click on the panel
    }

    // Leaving the dialog, or an accepted login: the remembered defaults and the choice of a company.
    void choose_data()
    {
        QTest::addColumn<QString>("user");    // empty: not logged in; "$P" after it: on the instance without pairs
        QTest::addColumn<QString>("action");  // "enter N", "click N" (double-click), "escape", "exit", "close"
        QTest::addColumn<Qt::CheckState>("remember");
        QTest::addColumn<QString>("outcome");  // the reports shown | the event loop's ends | the exit code (-1: none)
        const auto add = [](const char *name, const QString &user, const QString &action, Qt::CheckState remember,
                            const QString &outcome) { QTest::newRow(name) << user << action << remember << outcome; };
        add("Escape in the password box", {}, u"escape"_s, Qt::Checked, u"||0"_s);
        add("Exit button", {}, u"exit"_s, Qt::Checked, u"||0"_s);
        add("closed through the frame", {}, u"close"_s, Qt::Checked, u"|0|-1"_s);
        add("Escape in the company grid", u"zelvan"_s, u"escape"_s, Qt::Unchecked, u"||0"_s);
        // The run that ends the program goes through a key: a throw out of Qt's mouse
        // delivery would leak its event copy under the sanitizer.
        add("double-click, first row, trimmed database", u"zelvan"_s, u"click 0"_s, Qt::Checked, u"FIRMA|0|-1"_s);
        add("Enter, second row: no such database", u"zelvan"_s, u"enter 1"_s, Qt::PartiallyChecked, u"||3"_s);
        add("quote in the user name", u"o'neil"_s, u"enter 0"_s, Qt::Unchecked, u"FIRMA|0|-1"_s);
        add("report right refused", u"ret"_s, u"enter 0"_s, Qt::Unchecked, u"|5|-1"_s);
        // Empty lists: the choice is ignored and the dialog stays.
        add("a user without companies", u"mehmet"_s, u"enter 0"_s, Qt::Checked, u"||-1"_s);
        add("list query rejected", u"zelvan$P"_s, u"enter 0"_s, Qt::Checked, u"||-1"_s);
    }
    void choose()
    {
        QFETCH(QString, user);
        QFETCH(QString, action);
        QFETCH(Qt::CheckState, remember);
        const QHash<QString, QString> passwords{{u"zelvan"_s, u"parola"_s}, {u"o'neil"_s, u"q"_s}, {u"ret"_s, u"ret"_s}};
        const QString server = resolve(user.endsWith(u"$P") ? u"$P"_s : u" $I  "_s);
        user.remove(u"$P"_s);
        Dialog d;
        d.remember(u"DEF_KUL"_s, u"eski"_s);
        d.form->Kullanici_Ayar_Sakla->setTristate(remember == Qt::PartiallyChecked);
        d.form->Kullanici_Ayar_Sakla->setCheckState(remember);
        if (user.isEmpty()) {
            d.open();
        } else {
            d.login(user, passwords.value(user), server);
            QVERIFY(d.form->FirmaPnl->isVisible() && !d.form->KullaniciPnl->isVisible());
            QCOMPARE(d.focused(), u"TDBG1"_s);
            const bool stored = remember == Qt::Checked;
            QCOMPARE(d.remembered(u"DEF_KUL"_s), stored ? user : u"eski"_s);
            QCOMPARE(d.remembered(u"DEF_SRVR"_s), stored ? server.trimmed() : QString());
        }
        QTableView *grid = d.form->TDBG1;
        const int row = action.section(u' ', 1).toInt();
        const int code = endsWith([&] {
            if (action == u"escape") {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            } else if (action == u"exit") {
                // click() releases: a throw out of Qt's mouse delivery would leak its event copy.
                QTest::mousePress(d.form->CikisBtn, Qt::LeftButton);
                d.form->CikisBtn->click();
            } else if (action == u"close") {
                d.form->close();
            } else if (action.startsWith(u"click")) {
                const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
            } else {
                for (int i = 0; i < row; ++i)
                    QTest::keyClick(grid, Qt::Key_Down);
                QTest::keyClick(grid, Qt::Key_Enter);
            }
        });
        QStringList ends;
        for (int end : std::as_const(d.loopEnds))
            ends.append(QString::number(end));
        QTEST(d.reports.join(u',') + u'|' + ends.join(u',') + u'|' + QString::number(code), "outcome");
        if (!action.contains(u' ')) {  // left without a choice
            QVERIFY(d.fakes.messages.shown.isEmpty());
            return;
        }
        const bool chosen = code != -1 || !d.loopEnds.isEmpty();
        QCOMPARE(d.form->isVisible(), !chosen);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(d.form.isNull(), chosen);
    }
};

QTEST_MAIN(TestLoginFrm)
#include "tst_loginfrm.moc"
