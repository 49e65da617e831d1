#include "reportengine/reportlayout.h"

namespace zelvan::reportengine {

ReportControl ReportControl::label(const QString &name, int left, int top, int width, int height,
                                   const QString &caption, const ReportFont &font,
                                   ReportAlignment alignment)
{
    ReportControl c;
    c.kind = ReportControlKind::Label;
    c.name = name;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.text = caption;
    c.font = font;
    c.alignment = alignment;
    return c;
}

ReportControl ReportControl::field(const QString &name, int left, int top, int width, int height,
                                   const ReportFont &font, ReportAlignment alignment,
                                   const QString &outputFormat)
{
    ReportControl c = label(name, left, top, width, height, QString(), font, alignment);
    c.kind = ReportControlKind::Field;
    c.outputFormat = outputFormat;
    return c;
}

ReportControl ReportControl::line(const QString &name, int x1, int y1, int x2, int y2)
{
    ReportControl c;
    c.kind = ReportControlKind::Line;
    c.name = name;
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    return c;
}

ReportControl *ReportPage::findField(const QString &name)
{
    for (ReportSection &s : sections) {
        for (ReportControl &c : s.controls) {
            if (c.kind == ReportControlKind::Field && c.name == name)
                return &c;
        }
    }
    return nullptr;
}

bool ReportPage::setFieldText(const QString &name, const QString &text)
{
    ReportControl *c = findField(name);
    if (!c)
        return false;
    c->text = text;
    return true;
}

QString ReportPage::fieldText(const QString &name) const
{
    const ReportControl *c = control(name);
    return c && c->kind == ReportControlKind::Field ? c->text : QString();
}

QStringList ReportPage::fieldNames() const
{
    QStringList names;
    for (const ReportSection &s : sections) {
        for (const ReportControl &c : s.controls) {
            if (c.kind == ReportControlKind::Field)
                names << c.name;
        }
    }
    return names;
}

const ReportControl *ReportPage::control(const QString &name) const
{
    for (const ReportSection &s : sections) {
        for (const ReportControl &c : s.controls) {
            if (c.name == name)
                return &c;
        }
    }
    return nullptr;
}

const ReportSection *ReportPage::section(const QString &name) const
{
    for (const ReportSection &s : sections) {
        if (s.name == name)
            return &s;
    }
    return nullptr;
}

QRect ReportPage::controlRect(const ReportControl &control) const
{
    int top = marginTop;
    for (const ReportSection &s : sections) {
        for (const ReportControl &c : s.controls) {
            if (&c == &control)
                return QRect(marginLeft + c.left, top + c.top, c.width, c.height);
        }
        top += s.height;
    }
    return QRect();
}

QString ReportPage::linkAt(const QPoint &point) const
{
    int top = marginTop;
    for (const ReportSection &s : sections) {
        for (const ReportControl &c : s.controls) {
            if (c.kind != ReportControlKind::Line && !c.link.isEmpty()
                && QRect(marginLeft + c.left, top + c.top, c.width, c.height).contains(point))
                return c.link;
        }
        top += s.height;
    }
    return QString();
}

QStringList ReportPage::links() const
{
    QStringList result;
    for (const ReportSection &s : sections) {
        for (const ReportControl &c : s.controls) {
            if (!c.link.isEmpty() && !result.contains(c.link))
                result << c.link;
        }
    }
    return result;
}

QRect ReportPage::linkRect(const QString &link) const
{
    QRect box;
    for (const ReportSection &s : sections) {
        for (const ReportControl &c : s.controls) {
            if (c.kind != ReportControlKind::Line && c.link == link)
                box |= controlRect(c);
        }
    }
    return box;
}

int ReportPage::sectionTop(const QString &name) const
{
    int top = marginTop;
    for (const ReportSection &s : sections) {
        if (s.name == name)
            return top;
        top += s.height;
    }
    return -1;
}

} // namespace zelvan::reportengine
