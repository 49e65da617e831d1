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
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <functional>
#include <optional>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;
namespace MsgBox = platform::MsgBox;

namespace {

const QString CheckMessage = u"Kullanıcı adınızı ve şifrenizi kontrol ediniz."_s;
const QString LimitMessage = u"Giriş Hatası Böyle Bir Kullanıcı Tanımlı Değil.Deneme Sayınız Bitmiştir."_s;
const QString NoConnection = u"Veri Tabanına Bağlanılamadı "_s;
// A server nobody listens on (a closed local port), and what the driver says of it.
const QString NoServer = u"127.0.0.1,1"_s;
QString unreachableText()
{
    try {
        platform::Connection().open(u"Provider=SQLOLEDB.1;User ID=zelvan;Password=parola;Initial Catalog=Defination_DB;"
                                    u"Data Source="_s + NoServer);
    } catch (const platform::Err &e) {
        return e.description();
    }
    return QString();
}
const QColor Peach(252, 225, 209);
const QColor White(255, 255, 255);

// One dialog on fake services: what ends the event loop and every report
// shown (with the database it was shown for) are recorded.
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
    void type(const QString &user, const QString &password, const QString &server)
    {
        form->sysus_nm->setText(user);
        form->sysus->setText(password);
        form->DB_Name->setText(server);
    }
    QString registry(const QString &value)
    {
        return RegReadString(program, platform::Registry::CurrentUser, u"DEF_NORVENT"_s, value);
    }

    test::FakeServices fakes;
    Program program;
    QPointer<LoginFrm> form;
    QList<int> loopEnds;
    QStringList reports;
};

// The exit code with which `action` ended the program, or nothing.
std::optional<int> endsWith(const std::function<void()> &action)
{
    try {
        action();
    } catch (const platform::ProgramEnded &ended) {
        return ended.exitCode;
    }
    return std::nullopt;
}

QString focusedName(QWidget *form)
{
    return form->focusWidget() ? form->focusWidget()->objectName() : QString();
}

QStringList column(const QAbstractItemModel *model, int c)
{
    QStringList texts;
    for (int r = 0; r < model->rowCount(); ++r)
        texts.append(model->index(r, c).data().toString());
    return texts;
}

} // namespace

class TestLoginFrm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void controls_data();
    void controls();
    void tabOrderAndPassword();
    void defaults_data();
    void defaults();
    void activationFocusesPassword();
    void keys_data();
    void keys();
    void leaving_data();
    void leaving();
    void closingEndsTheLoop();
    void okAction_data();
    void okAction();
    void thirdFailureEnds();
    void remember_data();
    void remember();
    void companyGrid();
    void choose_data();
    void choose();
    void emptyList_data();
    void emptyList();
    void panelClickRebinds();

private:
    test::TestInstance m_instance;
    test::TestInstance m_noUsers;      // Defination_DB without sysuslng
    test::TestInstance m_noPairs;      // Defination_DB without sysusfrmlng
    void login(Dialog &d, const QString &user, const QString &password);
};

void TestLoginFrm::initTestCase()
{
    const QString users = u"CREATE TABLE sysuslng(sysus_ID INT, sysus_nm NVARCHAR(26), sysus NVARCHAR(50))"_s;
    const QString pairs = u"CREATE TABLE sysusfrmlng(sysus_ID INT, sysfrm_ID INT)"_s;
    const QString userRows = u"INSERT INTO sysuslng VALUES (7, 'ZELVAN', '%1'), (8, 'RET', '%2'), (9, 'MEHMET', ''), "
                             u"(10, 'O''NEİL', '%3')"_s.arg(EncodePassword(u"parola"_s), EncodePassword(u"ret"_s),
                                                            EncodePassword(u"q"_s));
    test::addStandardDatabases(m_instance);
    for (const auto &[name, password] : {std::pair{u"kimse"_s, u"kimse"_s}, {u"mehmet"_s, QString()},
                                         {u"ret"_s, u"ret"_s}, {u"o'neil"_s, u"q"_s}})
        m_instance.addLogin(name, password);
    m_instance.run(u"Defination_DB"_s, {
        users, pairs, userRows,
        u"INSERT INTO sysusfrmlng VALUES (7, 1), (7, 5), (7, 3), (8, 1), (10, 1)"_s,
        u"INSERT INTO sysfrmlng (sysfrm_ID, sysfrm_nm, sysfrm_kd, sysfrm_dbnm, Mali_Yil_Baslangic, Mali_Yil_Bitis) "
        u"VALUES (5, 'Beşinci Ltd.', 'BL', ' FIRMA ', '2026-01-01 00:00:00', NULL), "
        u"(3, 'Üçüncü', 'UC', 'YOKDB', NULL, NULL)"_s,
        u"INSERT INTO Kullanici VALUES (8, 1, 0, 1)"_s,
    });
    test::addStandardDatabases(m_noUsers);
    test::addStandardDatabases(m_noPairs);
    m_noPairs.run(u"Defination_DB"_s, {users, userRows});
}

void TestLoginFrm::login(Dialog &d, const QString &user, const QString &password)
{
    d.open();
    d.type(user, password, m_instance.path());
    d.form->TamamBtn_Click();
}

void TestLoginFrm::controls_data()
{
    QTest::addColumn<QString>("container");  // the row's name is the control's
    QTest::addColumn<QRect>("geometry");  // pixels: twips / 15
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxLength");   // 0: no text box
    QTest::addColumn<bool>("visible");

    QTest::newRow("KullaniciPnl") << u"LoginFrm"_s << QRect(6, 8, 331, 163) << QString() << 0 << true;
    QTest::newRow("Zemin") << u"KullaniciPnl"_s << QRect(0, -2, 72, 167) << QString() << 0 << true;
    QTest::newRow("Label18") << u"KullaniciPnl"_s << QRect(84, 28, 83, 20) << u"Kullanıcı Adı  :"_s << 0 << true;
    QTest::newRow("sysus_nm") << u"KullaniciPnl"_s << QRect(172, 27, 123, 20) << u"norvent"_s << 26 << true;
    QTest::newRow("Label17") << u"KullaniciPnl"_s << QRect(86, 50, 83, 20) << u"Şifre :"_s << 0 << true;
    QTest::newRow("sysus") << u"KullaniciPnl"_s << QRect(172, 50, 123, 20) << QString() << 50 << true;
    QTest::newRow("Label1") << u"KullaniciPnl"_s << QRect(86, 74, 83, 20) << u"Server Adı:"_s << 0 << true;
    QTest::newRow("DB_Name") << u"KullaniciPnl"_s << QRect(172, 74, 123, 20) << QString() << 50 << true;
    QTest::newRow("Kullanici_Ayar_Sakla") << u"KullaniciPnl"_s << QRect(172, 98, 123, 13)
                                          << u"Bu Kullanıcıyı Hatırla"_s << 0 << true;
    QTest::newRow("TamamBtn") << u"KullaniciPnl"_s << QRect(192, 136, 65, 21) << u"Tamam"_s << 0 << true;
    QTest::newRow("CikisBtn") << u"KullaniciPnl"_s << QRect(260, 136, 65, 21) << u"Çıkış"_s << 0 << true;
    QTest::newRow("FirmaPnl") << u"LoginFrm"_s << QRect(4, 8, 333, 165) << QString() << 0 << false;
    QTest::newRow("TDBG1") << u"FirmaPnl"_s << QRect(4, 12, 327, 148) << QString() << 0 << true;
}

void TestLoginFrm::controls()
{
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    QFETCH(QString, container);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(int, maxLength);
    QFETCH(bool, visible);

    Dialog d;
    QCOMPARE(d.form->windowTitle(), u"Giriş"_s);
    QCOMPARE(d.form->size(), QSize(344, 180));
    QVERIFY(!d.form->windowIcon().isNull());

    auto *control = d.form->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(control->isVisibleTo(control->parentWidget()), visible);
    QCOMPARE(control->property("text").toString(), text);
    QCOMPARE(control->property("maxLength").toInt(), maxLength);
}

void TestLoginFrm::tabOrderAndPassword()
{
    Dialog d;
    d.open();
    d.form->sysus_nm->setFocus();
    QStringList order;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.append(focusedName(d.form));
    }
    QCOMPARE(order, (QStringList{u"sysus"_s, u"DB_Name"_s, u"CikisBtn"_s, u"TamamBtn"_s, u"Kullanici_Ayar_Sakla"_s,
                                 u"sysus_nm"_s}));

    QTest::keyClicks(d.form->sysus, u"gizli"_s);
    QCOMPARE(d.form->sysus->text(), u"gizli"_s);
    QCOMPARE(d.form->sysus->displayText(), u"*****"_s);
}

void TestLoginFrm::defaults_data()
{
    QTest::addColumn<QByteArray>("computerName");
    QTest::addColumn<QString>("rememberedUser");    // null: no value
    QTest::addColumn<QString>("rememberedServer");
    QTest::addColumn<QString>("computerField");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("server");

    QTest::newRow("first run") << QByteArray("MUHASEBE-PC") << QString() << QString() << u"MUHASEBE-PC"_s
                               << u"norvent"_s << u"MUHASEBE-PC"_s;
    QTest::newRow("remembered, trimmed") << QByteArray("PC") << u" ayşe  "_s << u"  SRV\\SQL "_s << u"PC"_s
                                         << u"ayşe"_s << u"SRV\\SQL"_s;
    QTest::newRow("empty server remembered") << QByteArray("PC") << u"ali"_s << u""_s << u"PC"_s << u"ali"_s << u"PC"_s;
    QTest::newRow("blank name kept in the field") << QByteArray("PC  ") << QString() << QString() << u"PC  "_s
                                                  << u"norvent"_s << u"PC"_s;
    QTest::newRow("Turkish computer name") << QByteArray("\xDD\xDE\xD0") << QString() << QString() << u"İŞĞ"_s
                                           << u"norvent"_s << u"İŞĞ"_s;
    QTest::newRow("empty computer name") << QByteArray() << QString() << QString() << QString() << u"norvent"_s
                                         << QString();
    QTest::newRow("name too long for the buffer") << QByteArray(300, 'A') << QString() << QString() << QString()
                                                  << u"norvent"_s << QString();
}

void TestLoginFrm::defaults()
{
    QFETCH(QByteArray, computerName);
    QFETCH(QString, rememberedUser);
    QFETCH(QString, rememberedServer);
    QFETCH(QString, computerField);
    QFETCH(QString, user);
    QFETCH(QString, server);

    Dialog d;
    d.fakes.system.computerName = computerName;
    const auto remember = [&d](const QString &value, const QString &text) {
        if (!text.isNull())
            RegWriteString(d.program, platform::Registry::CurrentUser, u"DEF_NORVENT"_s, value, text);
    };
    remember(u"DEF_KUL"_s, rememberedUser);
    remember(u"DEF_SRVR"_s, rememberedServer);

    d.form->Form_Load();
    QCOMPARE(d.program.vars.ComputerName, computerField);
    QCOMPARE(d.form->sysus_nm->text(), user);
    QCOMPARE(d.form->sysus->text(), QString());
    QCOMPARE(d.form->DB_Name->text(), server);
    QCOMPARE(d.program.vars.DatabaseName, u"Defination_DB"_s);
    QVERIFY(!d.form->Zemin->pixmap().isNull());
    QVERIFY(d.fakes.messages.shown.isEmpty());
}

void TestLoginFrm::activationFocusesPassword()
{
    Dialog d;
    d.form->sysus->setText(u"gizli"_s);
    d.open();
    QCOMPARE(focusedName(d.form), u"sysus"_s);
    QCOMPARE(d.form->sysus->selectedText(), u"gizli"_s);
    QCOMPARE(d.form->sysus->palette().color(QPalette::Base), Peach);
    QCOMPARE(d.form->sysus_nm->palette().color(QPalette::Base), White);
    QCOMPARE(d.form->DB_Name->palette().color(QPalette::Base), White);

    // Another window comes and goes: the box keeps its tint, and its caret.
    d.form->sysus->setCursorPosition(2);
    QWidget other;
    const auto switchAway = [&] {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    };
    const auto switchBack = [&] {
        d.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d.form));
    };
    switchAway();
    QCOMPARE(d.form->sysus->palette().color(QPalette::Base), Peach);
    switchBack();
    QVERIFY(!d.form->sysus->hasSelectedText());
    QCOMPARE(d.form->sysus->cursorPosition(), 2);

    // Focus given while the window was inactive (after a message box) moves on the way back.
    switchAway();
    d.form->sysus_nm->setFocus();
    switchBack();
    QCOMPARE(focusedName(d.form), u"sysus_nm"_s);
    QCOMPARE(d.form->sysus_nm->selectedText(), u"norvent"_s);
    QCOMPARE(d.form->sysus_nm->palette().color(QPalette::Base), Peach);
    QCOMPARE(d.form->sysus->palette().color(QPalette::Base), White);
}

void TestLoginFrm::keys_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("caretAfter");  // in `from`, when the focus stays

    const int none = Qt::NoModifier;
    QTest::newRow("Down, top") << u"sysus_nm"_s << int(Qt::Key_Down) << none << 0 << u"sysus"_s << 0;
    QTest::newRow("Down, bottom to top") << u"DB_Name"_s << int(Qt::Key_Down) << none << 0 << u"sysus_nm"_s << 0;
    QTest::newRow("Up, top to bottom") << u"sysus_nm"_s << int(Qt::Key_Up) << none << 0 << u"DB_Name"_s << 0;
    QTest::newRow("Shift+Down") << u"sysus_nm"_s << int(Qt::Key_Down) << int(Qt::ShiftModifier) << 3 << u"sysus"_s << 0;
    QTest::newRow("Ctrl+Up") << u"sysus"_s << int(Qt::Key_Up) << int(Qt::ControlModifier) << 3 << u"sysus_nm"_s << 0;
    QTest::newRow("Left inside moves the caret") << u"sysus_nm"_s << int(Qt::Key_Left) << none << 3 << u"sysus_nm"_s << 2;
    QTest::newRow("Right at the end") << u"DB_Name"_s << int(Qt::Key_Right) << none << 6 << u"DB_Name"_s << 6;
    QTest::newRow("Right inside moves the caret") << u"DB_Name"_s << int(Qt::Key_Right) << none << 1 << u"DB_Name"_s << 2;
}

void TestLoginFrm::keys()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, caret);
    QFETCH(QString, to);
    QFETCH(int, caretAfter);

    Dialog d;
    d.open();
    d.type(u"norvent"_s, u"gizli"_s, u"SUNUCU"_s);
    auto *start = d.form->findChild<QLineEdit *>(from);
    start->setFocus();
    start->setCursorPosition(caret);
    QTest::keyClick(start, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(focusedName(d.form), to);
    auto *target = d.form->findChild<QLineEdit *>(to);
    QCOMPARE(target->palette().color(QPalette::Base), Peach);
    if (target == start) {
        QCOMPARE(start->cursorPosition(), caretAfter);
    } else {
        QCOMPARE(start->palette().color(QPalette::Base), White);
        QCOMPARE(target->selectedText(), target->text());
    }
    QVERIFY(d.fakes.messages.shown.isEmpty());
}

void TestLoginFrm::leaving_data()
{
    QTest::addColumn<bool>("companyPanel");
    QTest::addColumn<bool>("exitButton");
    QTest::addColumn<QString>("focus");

    QTest::newRow("Escape in the password box") << false << false << u"sysus"_s;
    QTest::newRow("Exit button") << false << true << u"CikisBtn"_s;
    QTest::newRow("Escape in the company grid") << true << false << u"TDBG1"_s;
}

void TestLoginFrm::leaving()
{
    QFETCH(bool, companyPanel);
    QFETCH(bool, exitButton);
    QFETCH(QString, focus);

    Dialog d;
    if (companyPanel)
        login(d, u"zelvan"_s, u"parola"_s);
    else
        d.open();
    const std::optional<int> code = endsWith([&] {
        // The press takes the focus as a click does; the release is click():
        // the throw that ends the program would leave behind the event copy
        // of Qt's mouse delivery (its frames have no exception cleanups),
        // which the sanitizer build reports as a leak.
        if (exitButton) {
            QTest::mousePress(d.form->CikisBtn, Qt::LeftButton);
            d.form->CikisBtn->click();
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        }
    });
    QCOMPARE(code, std::optional<int>(0));
    QCOMPARE(focusedName(d.form), focus);
    QVERIFY(d.fakes.messages.shown.isEmpty());
}

void TestLoginFrm::closingEndsTheLoop()
{
    Dialog d;
    d.open();
    d.form->close();
    QCOMPARE(d.loopEnds, QList<int>{0});
    QVERIFY(d.reports.isEmpty());
}

void TestLoginFrm::okAction_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("server");  // "instance", "no users" or a name
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QList<int>>("styles");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("attempts");

    const QString userQuery = u"SELECT sysus_ID FROM sysuslng WHERE sysus_nm='ZELVAN' and sysus='%1'"_s.arg(
        EncodePassword(u"parola"_s));
    QTest::newRow("wrong SQL password") << u"zelvan"_s << u"yanlis"_s << u"instance"_s << QStringList{CheckMessage}
                                        << QList<int>{MsgBox::Critical} << u"sysus_nm"_s << 1;
    QTest::newRow("no sysuslng row") << u"kimse"_s << u"kimse"_s << u"instance"_s << QStringList{CheckMessage}
                                     << QList<int>{MsgBox::Critical} << u"sysus_nm"_s << 1;
    QTest::newRow("server unreachable") << u"zelvan"_s << u"parola"_s << u"  "_s + NoServer + u" "_s
                                        << QStringList{NoConnection, unreachableText(), u"-2147467259"_s}
                                        << QList<int>{MsgBox::Critical, MsgBox::OkOnly, MsgBox::OkOnly}
                                        << u"DB_Name"_s << 0;
    QTest::newRow("user query rejected") << u"zelvan"_s << u"parola"_s << u"no users"_s
                                         << QStringList{u"Invalid object name 'sysuslng'."_s, userQuery, NoConnection,
                                                        platform::objectClosedError().description(), u"3704"_s}
                                         << QList<int>{MsgBox::Critical, MsgBox::Critical, MsgBox::Critical,
                                                       MsgBox::OkOnly, MsgBox::OkOnly}
                                         << u"DB_Name"_s << 0;
    QTest::newRow("accepted") << u"zelvan"_s << u"parola"_s << u"instance"_s << QStringList() << QList<int>()
                              << u"TDBG1"_s << 0;
    QTest::newRow("quote in the user name") << u"o'neil"_s << u"q"_s << u"instance"_s << QStringList() << QList<int>()
                                            << u"TDBG1"_s << 0;
}

void TestLoginFrm::okAction()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, server);
    QFETCH(QStringList, messages);
    QFETCH(QList<int>, styles);
    QFETCH(QString, focus);
    QFETCH(int, attempts);

    Dialog d;
    d.open();
    const QString path = server == u"instance" ? m_instance.path() : server == u"no users" ? m_noUsers.path() : server;
    d.type(user, password, path);
    QTest::mouseClick(d.form->TamamBtn, Qt::LeftButton);

    QCOMPARE(d.fakes.messages.texts(), messages);
    QList<int> shownStyles;
    for (const auto &shown : std::as_const(d.fakes.messages.shown))
        shownStyles.append(shown.style);
    QCOMPARE(shownStyles, styles);
    QCOMPARE(focusedName(d.form), focus);
    QCOMPARE(int(d.form->LoginAttempts), attempts);
    QCOMPARE(d.form->FirmaPnl->isVisible(), messages.isEmpty());
    QCOMPARE(d.form->KullaniciPnl->isVisible(), !messages.isEmpty());
    QCOMPARE(d.program.vars.DbUserName, user);
    QCOMPARE(d.program.vars.DbPassword, password);
    QCOMPARE(d.program.vars.ServerName, path.trimmed());
    QCOMPARE(d.form->sysus->text(), password);
}

void TestLoginFrm::thirdFailureEnds()
{
    Dialog d;
    d.open();
    const auto attempt = [&](const QString &user, const QString &password, const QString &server) {
        d.type(user, password, server);
        QTest::keyClick(d.form->sysus, Qt::Key_Return);
    };
    attempt(u"zelvan"_s, u"yanlis"_s, m_instance.path());
    attempt(u"zelvan"_s, u"parola"_s, NoServer);
    attempt(u"kimse"_s, u"kimse"_s, m_instance.path());
    QCOMPARE(d.form->LoginAttempts, quint8(2));
    const std::optional<int> code = endsWith([&] { attempt(u"zelvan"_s, u"yanlis"_s, m_instance.path()); });

    QCOMPARE(code, std::optional<int>(platform::ExitCode::TooManyLogins));
    QCOMPARE(d.fakes.messages.texts(), (QStringList{CheckMessage, NoConnection, unreachableText(), u"-2147467259"_s,
                                                    CheckMessage, LimitMessage}));
    QCOMPARE(d.fakes.messages.shown.last().style, MsgBox::Critical);
}

void TestLoginFrm::remember_data()
{
    QTest::addColumn<Qt::CheckState>("box");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("stored");

    QTest::newRow("checked, accepted") << Qt::Checked << u"parola"_s << true;
    QTest::newRow("checked, refused") << Qt::Checked << u"yanlis"_s << false;
    QTest::newRow("unchecked, accepted") << Qt::Unchecked << u"parola"_s << false;
    QTest::newRow("grayed, accepted") << Qt::PartiallyChecked << u"parola"_s << false;
}

void TestLoginFrm::remember()
{
    QFETCH(Qt::CheckState, box);
    QFETCH(QString, password);
    QFETCH(bool, stored);

    Dialog d;
    RegWriteString(d.program, platform::Registry::CurrentUser, u"DEF_NORVENT"_s, u"DEF_KUL"_s, u"eski"_s);
    d.open();
    d.type(u"zelvan"_s, password, u"  "_s + m_instance.path() + u" "_s);
    d.form->Kullanici_Ayar_Sakla->setTristate(box == Qt::PartiallyChecked);
    d.form->Kullanici_Ayar_Sakla->setCheckState(box);
    d.form->TamamBtn_Click();

    QCOMPARE(d.registry(u"DEF_KUL"_s), stored ? u"zelvan"_s : u"eski"_s);
    QCOMPARE(d.registry(u"DEF_SRVR"_s), stored ? m_instance.path() : QString());
}

void TestLoginFrm::companyGrid()
{
    Dialog d;
    login(d, u"zelvan"_s, u"parola"_s);
    QCOMPARE(d.program.vars.UserId, 7);
    const QTableView *grid = d.form->TDBG1;
    const QAbstractItemModel *model = grid->model();
    QCOMPARE(model->columnCount(), 6);
    QCOMPARE(column(model, 0), (QStringList{u"Beşinci Ltd."_s, u"Üçüncü"_s, u"Deneme Ticaret A.Ş."_s}));
    QCOMPARE(column(model, 1), (QStringList{u"BL"_s, u"UC"_s, u"DT"_s}));
    QCOMPARE(column(model, 3), (QStringList{u"5"_s, u"3"_s, u"1"_s}));
    QCOMPARE(column(model, 5), (QStringList{QString(), QString(), u"31.12.2026"_s}));
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), u"Firma Adı"_s);
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), u"Firma Kodu"_s);
    QCOMPARE(grid->columnWidth(0), 200);
    QCOMPARE(grid->columnWidth(1), 113);
    for (int c = 0; c < 6; ++c)
        QCOMPARE(grid->isColumnHidden(c), c > 1);
    QVERIFY(!grid->verticalHeader()->isVisible());
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable));
    QCOMPARE(grid->currentIndex().row(), 0);
}

void TestLoginFrm::choose_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("mouse");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<QList<int>>("loopEnds");
    QTest::addColumn<int>("exitCode");  // -1: not ended at once

    QTest::newRow("Enter, first row, trimmed database")
        << u"zelvan"_s << u"parola"_s << false << 0 << QStringList{u"FIRMA"_s} << QList<int>{0} << -1;
    QTest::newRow("double-click, first row")
        << u"zelvan"_s << u"parola"_s << true << 0 << QStringList{u"FIRMA"_s} << QList<int>{0} << -1;
    QTest::newRow("Enter, second row: no such database")
        << u"zelvan"_s << u"parola"_s << false << 1 << QStringList() << QList<int>() << 3;
    QTest::newRow("double-click, third row")
        << u"zelvan"_s << u"parola"_s << true << 2 << QStringList{u"FIRMA"_s} << QList<int>{0} << -1;
    QTest::newRow("report right refused")
        << u"ret"_s << u"ret"_s << false << 0 << QStringList() << QList<int>{5} << -1;
}

void TestLoginFrm::choose()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, mouse);
    QFETCH(int, row);
    QFETCH(QStringList, reports);
    QFETCH(QList<int>, loopEnds);
    QFETCH(int, exitCode);

    Dialog d;
    login(d, user, password);
    QTableView *grid = d.form->TDBG1;
    const std::optional<int> code = endsWith([&] {
        if (mouse) {
            const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        } else {
            for (int i = 0; i < row; ++i)
                QTest::keyClick(grid, Qt::Key_Down);
            QTest::keyClick(grid, Qt::Key_Enter);
        }
    });
    QCOMPARE(code.value_or(-1), exitCode);
    QCOMPARE(d.reports, reports);
    QCOMPARE(d.loopEnds, loopEnds);
    QVERIFY(!d.form->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(d.form.isNull());
}

void TestLoginFrm::emptyList_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("listQueryFails");

    QTest::newRow("a user without companies") << u"mehmet"_s << QString() << false;
    QTest::newRow("list query rejected") << u"zelvan"_s << u"parola"_s << true;
}

void TestLoginFrm::emptyList()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, listQueryFails);

    Dialog d;
    d.open();
    d.type(user, password, (listQueryFails ? m_noPairs : m_instance).path());
    d.form->TamamBtn_Click();
    QCOMPARE(d.fakes.messages.shown.size(), listQueryFails ? 2 : 0);  // the error text and the list query
    QVERIFY(d.form->FirmaPnl->isVisible());
    QCOMPARE(d.form->TDBG1->model()->rowCount(), 0);

    QTest::keyClick(d.form->TDBG1, Qt::Key_Return);
    QTest::mouseDClick(d.form->TDBG1->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    d.form->ChooseCompany();
    QVERIFY(d.form->isVisible());
    QVERIFY(d.reports.isEmpty());
    QVERIFY(d.loopEnds.isEmpty());
}

void TestLoginFrm::panelClickRebinds()
{
    Dialog d;
    login(d, u"zelvan"_s, u"parola"_s);
    QTableView *grid = d.form->TDBG1;
    grid->setColumnWidth(0, 40);
    grid->setCurrentIndex(grid->model()->index(2, 0));

    QTest::mouseClick(d.form->FirmaPnl, Qt::LeftButton, {}, QPoint(160, 5));
    QCOMPARE(grid->columnWidth(0), 200);
    QCOMPARE(grid->model()->rowCount(), 3);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), u"Firma Adı"_s);
    QCOMPARE(d.form->LoginRecordset->absolutePosition(), 2);
    QCOMPARE(grid->currentIndex().row(), 2);

    grid->setColumnWidth(0, 40);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(grid->columnWidth(0), 40);  // a click in the grid is no click on the panel
}

QTEST_MAIN(TestLoginFrm)
#include "tst_loginfrm.moc"
