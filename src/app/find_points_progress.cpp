#include "app/find_points_progress.h"

#include "language/language.h"
#include "resources/resource.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

FindPointsProgress::FindPointsProgress(Search search, int command, int doing, QWidget* parent)
    : QDialog(parent), search_(std::move(search)) {
    setWindowTitle(Caption(command));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Language().GetString(doing)));
    bar_ = new QProgressBar;
    bar_->setRange(0, 100);
    layout->addWidget(bar_);
    cancel_ = new QPushButton(Language().GetString(IDS_BUTTON_CANCEL));
    layout->addWidget(cancel_, 0, Qt::AlignRight);
    connect(cancel_, &QPushButton::clicked, this, &FindPointsProgress::reject);
}

QString FindPointsProgress::Caption(int command) {
    // The command's own name, as its menu shows it.
    return Language().GetCommandText(command);
}

align::Alignment FindPointsProgress::Run() {
    std::unique_ptr<QThread> search(QThread::create([this] {
        result_ = search_([this](double fraction) {
            fraction_.store(fraction);
            return !cancelRequested_.load();
        });
    }));
    connect(search.get(), &QThread::finished, this, &QDialog::accept);
    QTimer poll;
    connect(&poll, &QTimer::timeout, this,
            [this] { bar_->setValue(static_cast<int>(std::lround(fraction_.load() * 100))); });
    poll.start(100);
    search->start();
    exec();
    search->wait();
    if (cancelRequested_.load()) {
        result_ = {};
        result_.cancelled = true;
    }
    return result_;
}

void FindPointsProgress::reject() {
    cancelRequested_.store(true);
    cancel_->setEnabled(false);
    cancel_->setText(Language().GetString(IDS_FIND_POINTS_CANCELLING));
}
