#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

namespace zelvan::reportengine {

// A report page described as data. Every length is in twips (1440 to the
// inch); a control's position is relative to the top left corner of its
// section.

inline constexpr int TwipsPerInch = 1440;
inline constexpr int TwipsPerPoint = 20;

enum class ReportControlKind { Label, Field, Line };

enum class ReportAlignment { Left, Center, Right };

struct ReportFont
{
    QString family;
    int size = 200;  // twips: 10 pt
    bool bold = false;
    bool italic = false;
};

struct ReportControl
{
    ReportControlKind kind = ReportControlKind::Label;
    QString name;
    // Box of a label or field.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // End points of a line.
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    int lineWidth = 15;  // one screen pixel at 96 dpi
    // A label's caption, or the text a field shows (already formatted by
    // whoever fills it).
    QString text;
    ReportFont font;
    ReportAlignment alignment = ReportAlignment::Left;
    // A field's output format picture, kept for whoever formats its value.
    QString outputFormat;
    // What the viewer opens when the control is double-clicked (a figure's
    // field name, on its caption and its amount alike); empty: nothing.
    QString link;

    static ReportControl label(const QString &name, int left, int top, int width, int height,
                               const QString &caption, const ReportFont &font,
                               ReportAlignment alignment = ReportAlignment::Left);
    static ReportControl field(const QString &name, int left, int top, int width, int height,
                               const ReportFont &font, ReportAlignment alignment,
                               const QString &outputFormat = QString());
    static ReportControl line(const QString &name, int x1, int y1, int x2, int y2);
};

struct ReportSection
{
    QString name;
    int height = 0;
    QList<ReportControl> controls;
};

struct ReportPage
{
    QString caption;  // the viewer's window title and the PDF's title
    int pageWidth = 12240;
    int pageHeight = 15840;
    int marginLeft = 0;
    int marginTop = 0;
    int printWidth = 0;
    // The viewer window's client area; empty leaves the size to the window.
    int viewerWidth = 0;
    int viewerHeight = 0;
    QList<ReportSection> sections;  // stacked from the top margin, in this order

    // Whose report it is, said around the page, never on it: the window's,
    // the print job's and the PDF's title, the PDF's subject, and the file
    // name (without extension) that save dialogs suggest. Empty: the caption.
    QString documentTitle;
    QString documentSubject;
    QString fileBaseName;
    QString title() const { return documentTitle.isEmpty() ? caption : documentTitle; }
    QString suggestedFileName(const QString &extension) const
    {
        return (fileBaseName.isEmpty() ? caption : fileBaseName) + u'.' + extension;
    }

    // Fields are addressed by name, letter for letter. setFieldText returns
    // false when the page has no field of that name; fieldText gives "" then.
    bool setFieldText(const QString &name, const QString &text);
    QString fieldText(const QString &name) const;
    // Every field's name in page order (section by section, in control order).
    QStringList fieldNames() const;

    const ReportControl *control(const QString &name) const;
    // The box of a label or field from the page's top left corner, margins included.
    QRect controlRect(const ReportControl &control) const;
    // The link of the label or field under a point of the page (in twips from
    // its top left corner); empty when there is none.
    QString linkAt(const QPoint &point) const;
    // Every link once, in page order, and the box around its controls.
    QStringList links() const;
    QRect linkRect(const QString &link) const;
    const ReportSection *section(const QString &name) const;
    // Distance of a section's top from the top of the page; -1 when the page
    // has no section of that name.
    int sectionTop(const QString &name) const;

private:
    ReportControl *findField(const QString &name);
};

} // namespace zelvan::reportengine
