#include "login/loginfrm.h"

#include "database/recordset.h"
#include "database/recordsetmodel.h"
#include "login/loginartwork.h"
#include "login/navigation.h"
#include "platform/endnow.h"
#include "platform/messageboxes.h"
#include "platform/openwindows.h"
#include "platform/registry.h"
#include "platform/systeminfo.h"
#include "program/connectandshowreport.h"
#include "program/exitcodes.h"
#include "program/program.h"
#include "program/regionalsettings.h"
#include "program/registryaccess.h"
#include "runtime/codepage1254.h"
#include "runtime/err.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>

namespace zelvan::login {

namespace {

using namespace Qt::Literals::StringLiterals;

constexpr int TwipsPerPixel = 15;

int px(int twips)
{
    return qRound(double(twips) / TwipsPerPixel);
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

// A colour number: the lowest byte red, then green, then blue.
QColor colourNumber(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

constexpr quint32 FocusedBackColor = 13754876;     // light peach
constexpr quint32 UnfocusedBackColor = 16777215;   // white
const QColor AppWorkspace(171, 171, 171);          // Windows' application workspace colour
const QColor LabelBack(224, 224, 224);
const QColor LabelFore(82, 107, 146);
const QColor ButtonBack(232, 232, 232);
const QColor GridBack(232, 232, 232);
const QColor RowDivider(210, 203, 193);
const QColor OddRowBack(238, 243, 250);

const QString RegistryKey = u"DEF_NORVENT"_s;

void setBackColor(QWidget *widget, const QColor &colour, QPalette::ColorRole role)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The old forms' default font, for the controls without a font of their
// own. Where Tahoma and Microsoft Sans Serif are missing, Liberation Sans
// keeps the texts within their boxes (a wider substitute would cut them).
QFont formFont()
{
    QFont f;
    f.setFamilies({u"Microsoft Sans Serif"_s, u"Liberation Sans"_s});
    f.setPointSizeF(8);
    return f;
}

QFont labelFont()
{
    QFont f;
    f.setFamilies({u"Tahoma"_s, u"Liberation Sans"_s});
    f.setPointSizeF(8.25);
    f.setBold(true);
    return f;
}

QFont boxFont()
{
    QFont f(u"Arial"_s);
    f.setPointSizeF(9);
    f.setBold(true);
    return f;
}

QFrame *newPanel(QWidget *form, const QString &name, const QRect &geometry, const QColor &back)
{
    auto *f = new QFrame(form);
    f->setObjectName(name);
    f->setFrameStyle(QFrame::Box | QFrame::Sunken);
    f->setGeometry(geometry);
    f->setAutoFillBackground(true);
    setBackColor(f, back, QPalette::Window);
    return f;
}

QLabel *newLabel(QWidget *in, const QString &name, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, in);
    l->setObjectName(name);
    l->setGeometry(geometry);
    l->setFont(labelFont());
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setAutoFillBackground(true);
    QPalette palette = l->palette();
    palette.setColor(QPalette::Window, LabelBack);
    palette.setColor(QPalette::WindowText, LabelFore);
    l->setPalette(palette);
    return l;
}

QLineEdit *newTextBox(QWidget *in, const QString &name, const QString &tag, int maxLength, const QRect &geometry)
{
    auto *box = new QLineEdit(in);
    box->setObjectName(name);
    box->setGeometry(geometry);
    box->setFont(boxFont());
    box->setMaxLength(maxLength);
    box->setProperty("Tag", tag);
    setBackColor(box, colourNumber(UnfocusedBackColor), QPalette::Base);
    return box;
}

QPushButton *newButton(QWidget *in, const QString &name, const QString &text, const QRect &geometry)
{
    auto *b = new QPushButton(text, in);
    b->setObjectName(name);
    b->setGeometry(geometry);
    // Enter on a focused button presses it, as on the old buttons.
    b->setAutoDefault(true);
    setBackColor(b, ButtonBack, QPalette::Button);
    return b;
}

// The password box shows "*" for every character, as the old text box did,
// and the company grid draws its dividers in the grid's own colour.
class LoginStyle : public QProxyStyle
{
public:
    LoginStyle()
        : QProxyStyle(QApplication::style()->name())
    {
    }

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        switch (hint) {
        case SH_LineEdit_PasswordCharacter:
            return u'*';
        case SH_LineEdit_PasswordMaskDelay:
            return 0;
        case SH_Table_GridLineColor:
            return int(RowDivider.rgba());
        default:
            return QProxyStyle::styleHint(hint, option, widget, returnData);
        }
    }
};

// Even rows on the grid's base colour, odd rows on the alternate one; the
// area below the last row keeps the viewport's own background.
class RowStyleDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.row() % 2 == 0)
            painter->fillRect(option.rect, option.palette.base());
        QStyledItemDelegate::paint(painter, option, index);
    }
};

bool isActivationChange(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

} // namespace

LoginFrm::LoginFrm(program::Program &program, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , m_program(program)
    , m_check(program)
{
    endEventLoop = [](int exitCode) { QCoreApplication::exit(exitCode); };
    buildControls();
}

LoginFrm::~LoginFrm() = default;

void LoginFrm::buildControls()
{
    setObjectName(u"LoginFrm"_s);
    setWindowTitle(u"Giriş"_s);
    setWindowIcon(loginIcon());
    setFixedSize(px(5160), px(2700));
    setAutoFillBackground(true);
    setBackColor(this, AppWorkspace, QPalette::Window);
    setFont(formFont());

    KullaniciPnl = newPanel(this, u"KullaniciPnl"_s, twipsRect(90, 120, 4965, 2445), Qt::white);
    buildPicture();
    buildUserBoxes();
    buildButtons();
    FirmaPnl = newPanel(this, u"FirmaPnl"_s, twipsRect(60, 120, 4995, 2475), GridBack);
    FirmaPnl->hide();
    buildCompanyGrid();
    setUpKeys();
}

void LoginFrm::buildPicture()
{
    Zemin = new QLabel(KullaniciPnl);
    Zemin->setObjectName(u"Zemin"_s);
    Zemin->setGeometry(twipsRect(0, -30, 1080, 2505));
    ImageList1.append(loginStripPicture(Zemin->size()));
}

void LoginFrm::buildUserBoxes()
{
    Label18 = newLabel(KullaniciPnl, u"Label18"_s, u"Kullanıcı Adı  :"_s, twipsRect(1260, 420, 1245, 300));
    sysus_nm = newTextBox(KullaniciPnl, u"sysus_nm"_s, u"ASD;DB_Name;ASD;sysus"_s, 26, twipsRect(2580, 405, 1845, 300));
    sysus_nm->setText(u"norvent"_s);
    Label17 = newLabel(KullaniciPnl, u"Label17"_s, u"Şifre :"_s, twipsRect(1290, 750, 1245, 300));
    sysus = newTextBox(KullaniciPnl, u"sysus"_s, u"ASD;sysus_nm;ASD;db_name"_s, 50, twipsRect(2580, 750, 1845, 300));
    sysus->setEchoMode(QLineEdit::Password);
    auto *passwordStyle = new LoginStyle;
    passwordStyle->setParent(sysus);
    sysus->setStyle(passwordStyle);
    Label1 = newLabel(KullaniciPnl, u"Label1"_s, u"Server Adı:"_s, twipsRect(1290, 1110, 1245, 300));
    DB_Name = newTextBox(KullaniciPnl, u"DB_Name"_s, u"ASD;sysus;ASD;sysus_nm"_s, 50, twipsRect(2580, 1110, 1845, 300));

    Kullanici_Ayar_Sakla = new QCheckBox(u"Bu Kullanıcıyı Hatırla"_s, KullaniciPnl);
    Kullanici_Ayar_Sakla->setObjectName(u"Kullanici_Ayar_Sakla"_s);
    // The form's 195 twips fit the old system font only: with today's fonts
    // the box grows downwards to its whole height, so that nothing is cut off.
    QRect rememberRect = twipsRect(2580, 1470, 1845, 195);
    rememberRect.setHeight(qMax(rememberRect.height(), Kullanici_Ayar_Sakla->sizeHint().height()));
    Kullanici_Ayar_Sakla->setGeometry(rememberRect);
    // The system's window background and window text: the colours of a text
    // area (Base and Text), not those of a dialog's surface.
    Kullanici_Ayar_Sakla->setAutoFillBackground(true);
    Kullanici_Ayar_Sakla->setPalette(QApplication::palette());
    Kullanici_Ayar_Sakla->setBackgroundRole(QPalette::Base);
    Kullanici_Ayar_Sakla->setForegroundRole(QPalette::Text);
}

void LoginFrm::buildButtons()
{
    TamamBtn = newButton(KullaniciPnl, u"TamamBtn"_s, u"Tamam"_s, twipsRect(2880, 2040, 975, 315));
    CikisBtn = newButton(KullaniciPnl, u"CikisBtn"_s, u"Çıkış"_s, twipsRect(3900, 2040, 975, 315));
    connect(TamamBtn, &QPushButton::clicked, this, [this] { runHandler([this] { TamamBtn_Click(); }); });
    connect(CikisBtn, &QPushButton::clicked, this, [this] { runHandler([this] { CikisBtn_Click(); }); });
}

void LoginFrm::buildCompanyGrid()
{
    TDBG1 = new QTableView(FirmaPnl);
    TDBG1->setObjectName(u"TDBG1"_s);
    TDBG1->setGeometry(twipsRect(60, 180, 4905, 2220));
    TDBG1->setFrameShape(QFrame::NoFrame);
    TDBG1->verticalHeader()->hide();
    TDBG1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TDBG1->verticalHeader()->setDefaultSectionSize(TDBG1->fontMetrics().height() + 4);
    TDBG1->horizontalHeader()->setSectionsMovable(false);
    TDBG1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TDBG1->setSelectionMode(QAbstractItemView::SingleSelection);
    TDBG1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TDBG1->setAlternatingRowColors(true);
    TDBG1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TDBG1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    TDBG1->setItemDelegate(new RowStyleDelegate(TDBG1));
    auto *gridStyle = new LoginStyle;
    gridStyle->setParent(TDBG1);
    TDBG1->setStyle(gridStyle);
    QPalette rows = TDBG1->palette();
    rows.setColor(QPalette::Base, Qt::white);
    rows.setColor(QPalette::AlternateBase, OddRowBack);
    TDBG1->setPalette(rows);
    setBackColor(TDBG1->viewport(), GridBack, QPalette::Base);
    m_companies = new database::RecordsetModel(this);
    TDBG1->setModel(m_companies);
    // The grid's current row is the recordset's current record.
    connect(TDBG1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (current.isValid() && m_companies->recordset())
            m_companies->recordset()->setAbsolutePosition(current.row());
    });
    connect(TDBG1, &QAbstractItemView::doubleClicked, this, [this] { runHandler([this] { ChooseCompany(); }); });
}

void LoginFrm::setUpKeys()
{
    // Tab order: the text boxes, the buttons, the grid, the check box.
    setTabOrder(sysus_nm, sysus);
    setTabOrder(sysus, DB_Name);
    setTabOrder(DB_Name, CikisBtn);
    setTabOrder(CikisBtn, TamamBtn);
    setTabOrder(TamamBtn, TDBG1);
    setTabOrder(TDBG1, Kullanici_Ayar_Sakla);

    // Key preview: the form sees every key before the control with the focus.
    installEventFilter(this);
    for (QWidget *control : formControls(this)) {
        if (control->focusPolicy() != Qt::NoFocus)
            control->installEventFilter(this);
    }
    FirmaPnl->installEventFilter(this);
}

QLineEdit *LoginFrm::textBox(QObject *object) const
{
    if (object == sysus_nm || object == sysus || object == DB_Name)
        return static_cast<QLineEdit *>(object);
    return nullptr;
}

void LoginFrm::runHandler(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const runtime::Err &e) {
        m_program.msgBox(e.description(), platform::MsgBox::Critical);
        m_program.end(program::ExitCode::Other);
    }
}

bool LoginFrm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        runHandler([this] { Form_Activate(); });
    }
    return QWidget::event(event);
}

void LoginFrm::closeEvent(QCloseEvent *event)
{
    // Closed through its frame: nothing is chosen and no other window exists.
    event->accept();
    endEventLoop(program::ExitCode::Ok);
}

bool LoginFrm::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // A key that a control passed on to the form was previewed already.
        if (watched == this && isAncestorOf(QApplication::focusWidget()))
            break;
        const auto *key = static_cast<QKeyEvent *>(event);
        const int keyCode = vbKeyCode(key->key());
        const int shift = vbShiftState(key->modifiers());
        runHandler([&] {
            Form_KeyDown(keyCode, shift);
            if (QLineEdit *box = textBox(watched))
                TextBox_KeyDown(box, keyCode, shift);
            else if (watched == TDBG1)
                TDBG1_KeyHandler(keyCode, shift);
        });
        break;
    }
    // The window losing and regaining activation (a message box, another
    // program, a popup menu) moves no focus within the form: a box keeps its
    // tint and selection. A box focused while the window was inactive gets
    // its GotFocus, and the box before it its LostFocus, on the way back.
    case QEvent::FocusIn:
        if (QLineEdit *box = textBox(watched)) {
            if (box == m_focusedBox && isActivationChange(static_cast<QFocusEvent *>(event)->reason()))
                break;
            if (m_focusedBox && m_focusedBox != box)
                TextBox_LostFocus(m_focusedBox);
            m_focusedBox = box;
            TextBox_GotFocus(box);
        }
        break;
    case QEvent::FocusOut:
        if (QLineEdit *box = textBox(watched); box && !isActivationChange(static_cast<QFocusEvent *>(event)->reason())) {
            if (box == m_focusedBox)
                m_focusedBox = nullptr;
            TextBox_LostFocus(box);
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == FirmaPnl) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint at = mouse->position().toPoint();
            if (mouse->button() == Qt::LeftButton && FirmaPnl->rect().contains(at) && !FirmaPnl->childAt(at))
                runHandler([this] { FirmaPnl_Click(); });
        }
        break;
    default:
        break;
    }
    return false;  // keys go on to the control as well
}

void LoginFrm::Form_Load()
{
    program::CheckRegionalSettings(m_program);

    // GetComputerNameA writes the name and a NUL into a buffer of blanks.
    QByteArray buffer(255, ' ');
    quint32 size = 255;
    m_program.services.system->getComputerName(buffer, size);
    QString name = trimBlanks(runtime::fromCp1254(buffer));
    // Drop the NUL. A failed call leaves nothing but blanks: the name, and
    // so the server box, stays empty.
    if (!name.isEmpty())
        name.chop(1);
    m_program.vars.ComputerName = name;
    DB_Name->setText(trimBlanks(name));

    Def_Kullanici_Oku();
    m_program.vars.DatabaseName = u"Defination_DB"_s;
    Zemin->setPixmap(ImageList1.value(0));
}

void LoginFrm::Form_Activate()
{
    sysus->setFocus(Qt::OtherFocusReason);
}

void LoginFrm::Form_KeyDown(int keyCode, int)
{
    if (keyCode == KeyCode::Escape)
        CikisBtn_Click();
}

void LoginFrm::CikisBtn_Click()
{
    m_program.end(program::ExitCode::Ok);
}

void LoginFrm::FirmaPnl_Click()
{
    SetupCompanyGrid();
}

void LoginFrm::Def_Kullanici_Oku()
{
    const QString user = program::RegReadString(m_program, platform::Registry::CurrentUser, RegistryKey, u"DEF_KUL"_s);
    if (!user.isEmpty())
        sysus_nm->setText(trimBlanks(user));
    const QString server = program::RegReadString(m_program, platform::Registry::CurrentUser, RegistryKey, u"DEF_SRVR"_s);
    if (!server.isEmpty())
        DB_Name->setText(trimBlanks(server));
}

void LoginFrm::Def_Kullanici_Kaydet()
{
    program::RegWriteString(m_program, platform::Registry::CurrentUser, RegistryKey, u"DEF_KUL"_s, trimBlanks(sysus_nm->text()));
    program::RegWriteString(m_program, platform::Registry::CurrentUser, RegistryKey, u"DEF_SRVR"_s, trimBlanks(DB_Name->text()));
}

void LoginFrm::TamamBtn_Click()
{
    if (!LoginRecordset)
        LoginRecordset = std::make_shared<database::Recordset>();
    LoginOutcome outcome = m_check.findUser({sysus_nm->text(), sysus->text(), DB_Name->text()}, *LoginRecordset);
    if (outcome == LoginOutcome::UserFound) {
        if (Kullanici_Ayar_Sakla->checkState() == Qt::Checked)
            Def_Kullanici_Kaydet();
        outcome = m_check.listCompanies(*LoginRecordset);
    }
    switch (outcome) {
    case LoginOutcome::Refused:
        sysus_nm->setFocus(Qt::OtherFocusReason);
        break;
    case LoginOutcome::NotConnected:
        DB_Name->setFocus(Qt::OtherFocusReason);
        break;
    case LoginOutcome::CompaniesListed:
        SetupCompanyGrid();
        FirmaPnl->show();
        KullaniciPnl->hide();
        // The grid is the only control left that can take the focus.
        TDBG1->setFocus(Qt::OtherFocusReason);
        break;
    case LoginOutcome::UserFound:
        break;
    }
}

void LoginFrm::SetupCompanyGrid()
{
    if (!LoginRecordset)
        LoginRecordset = std::make_shared<database::Recordset>();
    // A list query that failed left the recordset closed: the grid is empty.
    m_companies->setRecordset(LoginRecordset);
    const int last = m_companies->columnCount() - 1;
    for (int column = 0; column <= last; ++column) {
        if (column > 1)
            TDBG1->setColumnHidden(column, true);
    }
    if (last >= 0) {
        TDBG1->setColumnWidth(0, px(3000));
        m_companies->setHeaderData(0, Qt::Horizontal, u"Firma Adı"_s);
    }
    if (last >= 1) {
        TDBG1->setColumnWidth(1, px(1700));
        m_companies->setHeaderData(1, Qt::Horizontal, u"Firma Kodu"_s);
    }
    if (m_companies->rowCount() > 0)
        TDBG1->setCurrentIndex(m_companies->index(int(LoginRecordset->absolutePosition()), 0));
}

void LoginFrm::ChooseCompany()
{
    // An empty list has no current row to choose: the choice is ignored.
    if (!LoginRecordset || LoginRecordset->state() != database::Recordset::StateOpen || LoginRecordset->eof())
        return;
    program::Program &program = m_program;
    const auto endLoop = endEventLoop;
    program.vars.DatabaseName = trimBlanks(LoginRecordset->field(u"sysfrm_dbnm"_s).toString());

    hide();
    deleteLater();
    program::ConnectAndShowReport(program);
    // Nothing left to show (the report refused, or written instead of shown).
    if (!platform::anyWindowVisible())
        endLoop(program.exitCode);
}

void LoginFrm::TDBG1_KeyHandler(int keyCode, int)
{
    if (keyCode == KeyCode::Enter)
        ChooseCompany();
}

void LoginFrm::TextBox_GotFocus(QLineEdit *box)
{
    SelectAllText(box);
    setBackColor(box, colourNumber(FocusedBackColor), QPalette::Base);
}

void LoginFrm::TextBox_KeyDown(QLineEdit *box, int keyCode, int)
{
    NavigateByTag(this, keyCode, box, true);
    if (keyCode == KeyCode::Enter)
        TamamBtn_Click();
}

void LoginFrm::TextBox_LostFocus(QLineEdit *box)
{
    setBackColor(box, colourNumber(UnfocusedBackColor), QPalette::Base);
}

LoginFrm *showLoginFrm(program::Program &program)
{
    auto form = std::make_unique<LoginFrm>(program);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->Form_Load();
    form->show();
    // The program's only window starts active, with or without a window manager.
    form->activateWindow();
    form->raise();
    return form.release();
}

} // namespace zelvan::login
