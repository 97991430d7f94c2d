#include "support/clockfixture.h"
#include "widgets/aboutdialog.h"
#include "widgets/helpwindow.h"
#include "version.h"

#include "support/stuckpipe.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPointer>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QXmlStreamReader>

#include <memory>
#include <vector>

using namespace lumitakt;


class TstAbout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { test::quietOffscreen(); }
    void versionText_data();
    void versionText();
    void infoDialog();
    void infoDisablesTheClockWhileOpen();
    void helpDocumentIsWellFormedAndComplete();
    void helpWindow_data();
    void helpWindow();
};

void TstAbout::versionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("patch");
    QTest::addColumn<QString>("text");
    QTest::newRow("this release") << 2 << 2 << 0 << QStringLiteral("2.2.0");
    QTest::newRow("no leading zeros") << 10 << 0 << 7 << QStringLiteral("10.0.7");
}

void TstAbout::versionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, patch);
    QFETCH(QString, text);
    QCOMPARE(AboutDialog::versionText(major, minor, patch), text);
}

void TstAbout::infoDialog()
{
    AboutDialog info;
    QCOMPARE(info.objectName(), QStringLiteral("Info"));
    QCOMPARE(info.windowTitle(), QStringLiteral(" Info"));
    QCOMPARE(info.size(), QSize(380, 208));
    QCOMPARE(info.palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
    QCOMPARE(info.findChild<QGroupBox *>(QStringLiteral("Frame"))->geometry(), QRect(12, 6, 355, 189));

    // The version from the build's version record.
    QLabel *revision = info.findChild<QLabel *>(QStringLiteral("lblRevision"));
    QCOMPARE(revision->text(), QStringLiteral(LUMITAKT_VERSION));
    QCOMPARE(revision->geometry(), QRect(120, 28, 40, 20));
    QVERIFY(revision->alignment() & Qt::AlignHCenter);

    const QStringList captions{QStringLiteral("Release"), QStringLiteral("Autor"), QStringLiteral("eMail"), QStringLiteral("Internet")};
    const QList<int> tops{30, 70, 110, 153};
    const QList<QLabel *> captionLabels = info.findChildren<QLabel *>(QStringLiteral("Label"));
    QCOMPARE(captionLabels.size(), 4);
    for (QLabel *label : captionLabels) {
        const int index = label->property("index").toInt();
        QCOMPARE(label->text(), captions[index]);
        QCOMPARE(label->geometry(), QRect(26, tops[index], 80, 17));
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x80));
        QVERIFY(label->font().bold());
        QVERIFY(!label->autoFillBackground());
    }
    QList<QLabel *> values{revision, info.findChild<QLabel *>(QStringLiteral("Label1"))};
    values += info.findChildren<QLabel *>(QStringLiteral("Label2"));
    QCOMPARE(values.size(), 4);
    for (QLabel *value : values) {
        QCOMPARE(value->palette().color(QPalette::Window), QColor(0xDC, 0xE7, 0x58));
        QVERIFY(value->autoFillBackground());
        QCOMPARE(value->frameShape(), QFrame::Box);
        QCOMPARE(value->lineWidth(), 1);
        QVERIFY(!value->font().bold());
        QCOMPARE(value->font().family(), QStringLiteral("Arial"));
        if (value != revision) {
            QVERIFY2(value->text().startsWith(QStringLiteral("  ")), qPrintable(value->text()));
            QCOMPARE(value->width(), 166);
        }
    }
    // No button: it is closed through the window system.
    QVERIFY(info.findChildren<QAbstractButton *>().isEmpty());
}

void TstAbout::infoDisablesTheClockWhileOpen()
{
    test::ClockFixture c(QTime(10, 0));
    c.trigger("MenuInfo");
    AboutDialog *info = test::openWindow<AboutDialog>("Info");
    QVERIFY(info && info->isVisible());
    QVERIFY(!c.window->isEnabled());
    // The clock goes on ticking meanwhile.
    c.tickAt(QTime(10, 0, 0, 500));
    c.trigger("MenuInfo");
    QCOMPARE(test::openWindow<AboutDialog>("Info"), info);
    info->close();
    c.settle();
    QVERIFY(!test::openWindow<AboutDialog>("Info"));
    QVERIFY(c.window->isEnabled());
}

void TstAbout::helpDocumentIsWellFormedAndComplete()
{
    // The help as it lies in the program folder beside the executable.
    const QDir folder(QStringLiteral(LUMITAKT_PROGRAM_FOLDER));
    QFile file(folder.filePath(QStringLiteral("Lumitakt.html")));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    QXmlStreamReader xml(&file);
    QSet<QString> ids;
    QStringList anchors;
    QString title;
    QString lang;
    int pictures = 0;
    int sections = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.hasAttribute(QStringLiteral("id")))
            ids.insert(attributes.value(QStringLiteral("id")).toString());
        const QStringView name = xml.name();
        if (name == u"html") {
            lang = attributes.value(QStringLiteral("lang")).toString();
        } else if (name == u"title") {
            title = xml.readElementText();
        } else if (name == u"h2") {
            ++sections;
        } else if (name == u"a") {
            const QString href = attributes.value(QStringLiteral("href")).toString();
            QVERIFY2(href.startsWith(u'#'), qPrintable(href));
            anchors.append(href.mid(1));
        } else if (name == u"img") {
            ++pictures;
            const QString src = attributes.value(QStringLiteral("src")).toString();
            QVERIFY2(!attributes.value(QStringLiteral("alt")).isEmpty(), qPrintable(src));
            QImageReader picture(folder.filePath(src));
            QVERIFY2(picture.canRead(), qPrintable(src));
            QCOMPARE(picture.size(), QSize(attributes.value(QStringLiteral("width")).toInt(),
                                           attributes.value(QStringLiteral("height")).toInt()));
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString() + QStringLiteral(" at line %1").arg(xml.lineNumber())));
    QCOMPARE(lang, QStringLiteral("de"));
    QVERIFY(title.contains(QStringLiteral("Lumitakt")));
    QVERIFY(sections >= 8);
    QVERIFY(pictures >= 8);
    for (const QString &anchor : anchors)
        QVERIFY2(ids.contains(anchor), qPrintable(anchor));
}

void TstAbout::helpWindow_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("pipes"); // pipes in the pictures' places
    QTest::newRow("the help") << QString() << QStringLiteral("Lumitakt") << QStringLiteral("Lumitakt – Hilfe") << false;
    QTest::newRow("help file missing") << QStringLiteral("/nirgends/Lumitakt.html") << QStringLiteral("Hilfe nicht gefunden")
                                       << QStringLiteral("Lumitakt – Hilfe fehlt") << false;
    QTest::newRow("pipes for pictures") << QString() << QStringLiteral("Lumitakt") << QStringLiteral("Lumitakt – Hilfe") << true;
}

void TstAbout::helpWindow()
{
    QFETCH(QString, file);
    QFETCH(QString, heading);
    QFETCH(QString, title);
    QFETCH(bool, pipes);
    // The program's help (no file given) as installed, in a folder of the
    // test's own: the help is read only from a folder no one else can change,
    // which a build folder that a build group shares is not.
    QTemporaryDir folder;
    std::vector<std::unique_ptr<test::StuckPipe>> stuck;
    if (file.isEmpty()) {
        file = folder.filePath(QStringLiteral("Lumitakt.html"));
        QVERIFY(QFile::copy(QStringLiteral(LUMITAKT_PROGRAM_FOLDER "/Lumitakt.html"), file));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("help")));
        for (const QString &picture : QDir(QStringLiteral(LUMITAKT_PROGRAM_FOLDER "/help")).entryList(QDir::Files)) {
            const QString place = folder.filePath(QStringLiteral("help/") + picture);
            // The help beside pipes that nobody writes to: the window must not wait.
            if (pipes) {
                stuck.push_back(std::make_unique<test::StuckPipe>(place));
                if (!stuck.back()->made())
                    QSKIP("no named pipes here");
                continue;
            }
            QVERIFY(QFile::copy(QStringLiteral(LUMITAKT_PROGRAM_FOLDER "/help/") + picture, place));
        }
    }
    HelpWindowViewer viewer;
    viewer.open(file);
    QPointer<HelpWindow> window = test::openWindow<HelpWindow>("Hilfe");
    QVERIFY(window && window->isVisible());
    QVERIFY(!(window->windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!window->testAttribute(Qt::WA_QuitOnClose));
    QCOMPARE(window->windowTitle(), title);
    QTextDocument *document = window->findChild<QTextBrowser *>()->document();
    QCOMPARE(document->firstBlock().text(), heading);
    // The pictures are found beside the document.
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QUrl picture(it.fragment().charFormat().toImageFormat().name());
                const QVariant data = window->findChild<QTextBrowser *>()->loadResource(QTextDocument::ImageResource, picture);
                QCOMPARE(!QImage::fromData(data.toByteArray()).isNull(), !pipes);
            }
    for (const auto &pipe : stuck)
        QCOMPARE(pipe->freed(), 0);
    // One window at a time; Escape closes it, and it goes.
    viewer.open(file);
    int open = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        open += qobject_cast<HelpWindow *>(widget) != nullptr;
    QCOMPARE(open, 1);
    QCOMPARE(test::openWindow<HelpWindow>("Hilfe"), window.data());
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->findChild<QTextBrowser *>(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window);
}

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
