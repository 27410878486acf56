#pragma once

#include <QDialog>

class QRadioButton;
class QPushButton;

namespace qv::shell {

// Asks whether to open an existing auction, create a new one or batch-import
// one. Continue hides it; Cancel marks it cancelled and closes it.
class frmOpeningQuestions : public QDialog {
    Q_OBJECT
public:
    enum class Choice { Existing, New, Batch };

    explicit frmOpeningQuestions(QWidget* parent = nullptr);

    Choice choice() const;
    bool cancelled() const { return cancelled_; }

signals:
    void helpRequested();

private:
    QRadioButton* optExisting_;
    QRadioButton* optNew_;
    QRadioButton* optBatch_;
    QPushButton* cmdContinue_;
    QPushButton* cmdCancel_;
    QPushButton* cmdHelp_;
    bool cancelled_ = false;
};

} // namespace qv::shell
