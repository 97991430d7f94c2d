#include "widgets/aboutdialog.h"

#include "widgets/fonts.h"

#include "version.h"

#include <QGroupBox>
#include <QLabel>

namespace lumitakt {

namespace {

constexpr QSize kClient{380, 208}; // 5700 x 3120 twips
constexpr QColor kGrey{0xC0, 0xC0, 0xC0};
constexpr QColor kDarkBlue{0x00, 0x00, 0x80};
constexpr QColor kPaleYellowGreen{0xDC, 0xE7, 0x58};
constexpr int kTextPixels = 13; // Arial 9.75 pt at 96 dpi

struct Row {
    const char16_t *caption;
    QRect captionRect;
    const char *valueName;
    int valueIndex; // -1: a single element
    QRect valueRect;
    const char16_t *value; // nullptr: filled at load
};

// Rows 2 to 4 name the project, not a person.
const Row kRows[] = {
    {u"Release", {26, 30, 80, 17}, "lblRevision", -1, {120, 28, 40, 20}, nullptr},
    {u"Autor", {26, 70, 80, 17}, "Label1", -1, {120, 68, 166, 20}, u"  Das Lumitakt-Projekt"},
    {u"eMail", {26, 110, 80, 17}, "Label2", 0, {120, 108, 166, 20}, u"  lumitakt@example.org"},
    {u"Internet", {26, 153, 80, 17}, "Label2", 1, {120, 148, 166, 20}, u"  lumitakt.example.org"},
};

} // namespace

AboutDialog::AboutDialog()
{
    setObjectName(QStringLiteral("Info"));
    setWindowTitle(QStringLiteral(" Info"));
    setFixedSize(kClient);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kGrey);
    setPalette(palette);

    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame"));
    frame->setGeometry(12, 6, 355, 189);

    int index = 0;
    QList<std::pair<QString, QLabel *>> values;
    for (const Row &row : kRows) {
        auto *caption = new QLabel(QString::fromUtf16(row.caption), frame);
        caption->setObjectName(QStringLiteral("Label"));
        caption->setProperty("index", index++);
        caption->setGeometry(row.captionRect);
        caption->setFont(arialFont(kTextPixels, true));
        QPalette captionPalette = caption->palette();
        captionPalette.setColor(QPalette::WindowText, kDarkBlue);
        caption->setPalette(captionPalette);

        auto *value = new QLabel(row.value ? QString::fromUtf16(row.value) : QString(), frame);
        value->setObjectName(QString::fromLatin1(row.valueName));
        if (row.valueIndex >= 0)
            value->setProperty("index", row.valueIndex);
        value->setGeometry(row.valueRect);
        value->setFont(arialFont(kTextPixels));
        value->setFrameStyle(QFrame::Box | QFrame::Plain);
        value->setLineWidth(1);
        value->setAutoFillBackground(true);
        value->setAlignment(row.value ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QPalette valuePalette = value->palette();
        valuePalette.setColor(QPalette::Window, kPaleYellowGreen);
        valuePalette.setColor(QPalette::WindowText, Qt::black);
        value->setPalette(valuePalette);
        values.append({caption->text(), value});
    }
    findChild<QLabel *>(QStringLiteral("lblRevision"))
        ->setText(versionText(LUMITAKT_VERSION_MAJOR, LUMITAKT_VERSION_MINOR, LUMITAKT_VERSION_PATCH));
    // A screen reader reads each value with its caption: "Release 2.2.0".
    for (const auto &[caption, value] : values)
        value->setAccessibleName(caption + u' ' + value->text().trimmed());
}

QString AboutDialog::versionText(int major, int minor, int patch)
{
    return QString::number(major) + u'.' + QString::number(minor) + u'.' + QString::number(patch);
}

} // namespace lumitakt
