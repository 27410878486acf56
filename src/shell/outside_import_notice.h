#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace qv::shell {

// Notices rounds that another program (quorvane-cli watch, a scheduled
// import) adds to the open auction database, and says so once through
// announce. It only tells: no list or window is refilled on its own. A look
// costs two tiny reads on the open connection: SQLite's data_version, which
// changes only for other connections' commits, and the highest round. Windows
// that follow the newest round listen to roundsChanged.
class OutsideImportNotice : public QObject {
    Q_OBJECT
public:
    OutsideImportNotice(std::function<void(const QString&)> announce, int intervalMs, QObject* parent);

    // One look (the timer's; tests call it directly).
    void check();

signals:
    // The auction's rounds may have changed: a round was imported, here or by
    // another program, or another program wrote to the auction.
    void roundsChanged();

private:
    std::function<void(const QString&)> announce_;
    QTimer timer_;
    const void* connection_ = nullptr; // the connection the marks were read on
    qint64 dataVersion_ = -1;
    qint64 highest_ = 0;
};

} // namespace qv::shell
