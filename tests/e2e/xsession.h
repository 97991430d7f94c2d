#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

// A private X display for one test: Xvfb with openbox, started on a free
// display number and stopped again with everything started on it.
class XSession {
public:
    XSession() = default;
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    // The tools the session needs; empty when all are there.
    static QStringList missingTools();
    // The library that shifts a program's wall clock when preloaded.
    static QString fakeTimeLibrary();

    bool start(QString *error);
    QString display() const { return m_display; }
    QProcessEnvironment environment() const;

    // Runs an X client tool to its end and returns what it printed.
    QString run(const QString &program, const QStringList &arguments, int timeoutMs = 10000) const;
    // Starts a program on the display, kept until the session stops.
    QProcess *launch(const QString &program, const QStringList &arguments,
                     const QProcessEnvironment &extra = QProcessEnvironment());

    // The first window whose instance name matches, waiting for it to appear; 0 if none.
    qulonglong waitForWindow(const QString &className, int timeoutMs = 10000) const;
    // One property of a window as xprop prints it.
    QString property(qulonglong window, const QString &name) const;
    // The client area in root coordinates, and the frame extents l, r, t, b.
    QRect clientRect(qulonglong window) const;
    QList<int> frameExtents(qulonglong window) const;
    QImage screenshot() const;

private:
    QString m_display;
    std::unique_ptr<QProcess> m_xvfb;
    std::unique_ptr<QProcess> m_wm;
    std::vector<std::unique_ptr<QProcess>> m_clients;
};
