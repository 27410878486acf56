#include "shell/help_window.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace qv::shell {

namespace {

QString localPath(const QUrl& url)
{
    return url.scheme() == QLatin1String("qrc") ? QLatin1Char(':') + url.path() : url.toLocalFile();
}

} // namespace

HelpWindow::HelpWindow(const QString& helpFile, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Quorvane Help"));
    contents_ = helpFile.contains(QLatin1Char(':')) && !helpFile.startsWith(QLatin1Char(':'))
                    ? QUrl(helpFile)
                    : QUrl::fromLocalFile(helpFile);

    const QFileInfo index(localPath(contents_));
    const QFileInfoList pages =
        index.dir().entryInfoList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (const QFileInfo& page : pages) {
        QFile file(page.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString html = QString::fromUtf8(file.readAll());
        QTextDocument document;
        document.setHtml(html);
        QString title = document.metaInformation(QTextDocument::DocumentTitle);
        if (title.isEmpty())
            title = page.baseName();
        QUrl url = contents_.resolved(QUrl(page.fileName()));
        // The contents page leads the list.
        const Topic topic{title, url, document.toPlainText()};
        if (page.fileName() == index.fileName())
            topics_.prepend(topic);
        else
            topics_.append(topic);
    }

    searchField_ = new QLineEdit(this);
    searchField_->setObjectName(QStringLiteral("txtSearch"));
    searchField_->setPlaceholderText(QStringLiteral("Search all topics"));
    searchField_->setClearButtonEnabled(true);
    topicList_ = new QListWidget(this);
    topicList_->setObjectName(QStringLiteral("lstTopics"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtTopic"));
    browser_->setOpenLinks(true);

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(new QLabel(QStringLiteral("Search:"), side));
    sideLayout->addWidget(searchField_);
    sideLayout->addWidget(new QLabel(QStringLiteral("Topics:"), side));
    sideLayout->addWidget(topicList_);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(side);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 520});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);
    resize(760, 540);

    connect(searchField_, &QLineEdit::textChanged, this, &HelpWindow::listTopics);
    connect(topicList_, &QListWidget::currentRowChanged, this, [this](int row) {
        const QVariant url = row >= 0 ? topicList_->item(row)->data(Qt::UserRole) : QVariant();
        if (!url.isValid())
            return;
        browser_->setSource(url.toUrl());
        const QString query = searchField_->text().trimmed();
        if (!query.isEmpty())
            browser_->find(query.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0));
    });
    listTopics(QString());
}

QStringList HelpWindow::search(const QString& query) const
{
    const QStringList words = query.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QStringList titles;
    for (const Topic& topic : topics_) {
        bool all = true;
        for (const QString& word : words)
            all = all && (topic.text.contains(word, Qt::CaseInsensitive) ||
                          topic.title.contains(word, Qt::CaseInsensitive));
        if (all)
            titles << topic.title;
    }
    return titles;
}

void HelpWindow::listTopics(const QString& query)
{
    const QStringList matching = search(query);
    topicList_->clear();
    for (const Topic& topic : topics_) {
        if (!matching.contains(topic.title))
            continue;
        auto* item = new QListWidgetItem(topic.title, topicList_);
        item->setData(Qt::UserRole, topic.url);
    }
}

void HelpWindow::showContents()
{
    searchField_->clear();
    browser_->setSource(contents_);
    topicList_->setCurrentRow(0);
    show();
    raise();
    activateWindow();
}

void HelpWindow::showSearch()
{
    if (browser_->source().isEmpty())
        browser_->setSource(contents_);
    show();
    raise();
    activateWindow();
    searchField_->setFocus();
    searchField_->selectAll();
}

} // namespace qv::shell
