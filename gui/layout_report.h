#pragma once
// A plain-text report of where the program's windows, controls, tray icon and open menus are
// on screen, for tools that drive the program with real input (the desktop test suite).
// Enabled by the environment variable ZELVORA_LAYOUT_REPORT naming the file to write.
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

namespace gui {

class Session;

class LayoutReport : public QObject {
public:
    LayoutReport(Session& session, QString file);
    // Asks for a new report; written shortly after, at most a few times a second.
    void changed();
    // The report as it would be written now.
    [[nodiscard]] QString text() const;

private:
    void write();

    Session& m_session;
    QString m_file;
    QTimer m_timer;
};

// Starts reporting when the environment asks for it (else nullptr); keep the report for no
// longer than the session.
std::unique_ptr<LayoutReport> installLayoutReport(Session& session);

} // namespace gui
