#pragma once

#include <QUrl>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace qv::shell {

// The user guide: a list of topics, a search field over all of them, and the
// topic shown. The guide is the folder of HTML pages that holds helpFile.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& helpFile, QWidget* parent = nullptr);

    void showContents();
    void showSearch();
    // Topics whose text holds every word of the query, by title.
    QStringList search(const QString& query) const;

private:
    struct Topic {
        QString title;
        QUrl url;
        QString text;
    };
    void listTopics(const QString& query);

    QList<Topic> topics_;
    QUrl contents_;
    QLineEdit* searchField_;
    QListWidget* topicList_;
    QTextBrowser* browser_;
};

} // namespace qv::shell
