#include "platform/qtmessageboxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace zelvan::platform {

int QtMessageBoxes::show(const QString &text, int style, const QString &caption)
{
    QMessageBox box;
    switch (style & 0x70) {
    case MsgBox::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgBox::Question: box.setIcon(QMessageBox::Question); break;
    case MsgBox::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgBox::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    box.setWindowTitle(caption);
    QString shown = text;
    shown.replace(u'\r', u'\n');  // a carriage return alone is the old line break
    box.setTextFormat(Qt::PlainText);
    box.setText(shown);

    if ((style & 0x0F) == MsgBox::YesNo) {
        QPushButton *yes = box.addButton(QStringLiteral(u"&Evet"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral(u"&Hayır"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MsgBox::Yes : MsgBox::No;
    }
    QPushButton *ok = box.addButton(QStringLiteral(u"Tamam"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return MsgBox::Ok;
}

} // namespace zelvan::platform
