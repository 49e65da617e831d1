#include "platform/qtmessageboxes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace zelvan::platform {

namespace {

// A Yes/No question has no way out but its two buttons: Escape does nothing
// and the window has no working close button, as the old program's boxes.
class YesNoBox : public QMessageBox
{
public:
    YesNoBox()
    {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        connect(this, &QMessageBox::buttonClicked, this, [this] { m_answered = true; });
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent *event) override
    {
        if (!m_answered) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

private:
    bool m_answered = false;
};

void setIcon(QMessageBox &box, int style)
{
    switch (style & 0x70) {
    case MsgBox::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgBox::Question: box.setIcon(QMessageBox::Question); break;
    case MsgBox::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgBox::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
}

void setText(QMessageBox &box, const QString &text, const QString &caption)
{
    box.setWindowTitle(caption);
    QString shown = text;
    shown.replace(u'\r', u'\n');  // a carriage return alone is the old line break
    box.setTextFormat(Qt::PlainText);
    box.setText(shown);
}

} // namespace

int QtMessageBoxes::show(const QString &text, int style, const QString &caption)
{
    if ((style & 0x0F) == MsgBox::YesNo) {
        YesNoBox box;
        setIcon(box, style);
        setText(box, text, caption);
        QPushButton *yes = box.addButton(QStringLiteral(u"&Evet"), QMessageBox::YesRole);
        box.addButton(QStringLiteral(u"&Hayır"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.exec();
        return box.clickedButton() == yes ? MsgBox::Yes : MsgBox::No;
    }
    QMessageBox box;
    setIcon(box, style);
    setText(box, text, caption);
    QPushButton *ok = box.addButton(QStringLiteral(u"Tamam"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return MsgBox::Ok;
}

} // namespace zelvan::platform
