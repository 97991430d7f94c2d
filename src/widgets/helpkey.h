#pragma once

#include <QObject>
#include <QString>

namespace lumitakt {

class HelpViewer;

// F1 in any window of the program opens the help document, as a desktop
// user expects, as the help command of the menu does.
class HelpKey final : public QObject {
    Q_OBJECT
public:
    HelpKey(HelpViewer &viewer, QString helpFile, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HelpViewer &m_viewer;
    QString m_helpFile;
};

} // namespace lumitakt
