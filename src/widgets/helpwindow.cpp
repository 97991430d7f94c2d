#include "widgets/helpwindow.h"

#include "logging.h"
#include "files/trustedfiles.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace lumitakt {

namespace {

constexpr QSize kStartSize(760, 620);

// Reads the help and its pictures from regular files only, and only those
// no other user could have put there: a pipe put in the place of one must
// not stop the clock, nor another user's page be shown.
class HelpBrowser final : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (!url.isLocalFile())
            return QTextBrowser::loadResource(type, name);
        QFile file(url.toLocalFile());
        if (openForReading(file, Reading::Trusted))
            return file.readAll();
        // Something that is not nothing: for nothing, Qt would open the
        // file once more itself, and wait for a pipe.
        if (type == QTextDocument::ImageResource) {
            QImage none(1, 1, QImage::Format_ARGB32);
            none.fill(Qt::transparent);
            return none;
        }
        return QByteArray();
    }
};

} // namespace

HelpWindow::HelpWindow(const QString &file, QWidget *parent) : QWidget(parent, Qt::Window), m_browser(new HelpBrowser(this))
{
    setObjectName(QStringLiteral("Hilfe"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The clock ends with its own window, whether the help is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Lumitakt – Hilfe"));
    m_browser->setObjectName(QStringLiteral("HilfeText"));
    m_browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(kStartSize);
    // Closed with Escape or Ctrl+W, as help viewers are.
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);

    if (QFileInfo(file).isFile()) {
        m_browser->setSource(QUrl::fromLocalFile(file));
        return;
    }
    qCWarning(lcHelp).noquote() << "help file missing:" << file;
    setWindowTitle(QStringLiteral("Lumitakt – Hilfe fehlt"));
    m_browser->setHtml(QStringLiteral("<h1>Hilfe nicht gefunden</h1>"
                                      "<p>Die Hilfe-Datei <code>%1</code> fehlt. Lumitakt selbst arbeitet weiter; "
                                      "installieren Sie das Programm neu, um die Hilfe wieder zu erhalten.</p>")
                           .arg(file.toHtmlEscaped()));
}

HelpWindowViewer::~HelpWindowViewer()
{
    delete m_window;
}

void HelpWindowViewer::open(const QString &file)
{
    if (!m_window)
        m_window = new HelpWindow(file);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace lumitakt
