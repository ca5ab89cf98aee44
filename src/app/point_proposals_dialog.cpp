#include "app/point_proposals_dialog.h"

#include "sync/recording_jumps.h"
#include "sync/time_text.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString Time(REFERENCE_TIME time) {
    return QString::fromStdString(avsync::TimeToText(time));
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

// Drift, offset and the jumps: what the user needs to judge whether the match is believable.
QString Summary(const align::Alignment& found) {
    QString text = QStringLiteral("Drift: %1 ppm     Offset: %2 s")
                       .arg(found.driftPpm, 0, 'f', 2)
                       .arg(Time(found.offset));
    if (found.jumps.empty())
        return text + "\nNo jump: the separate sound runs without a break.";
    for (const align::Jump& jump : found.jumps)
        text += QStringLiteral("\nJump: video %1 to %2 s, separate sound %3 to %4 s")
                    .arg(Time(jump.videoFrom), Time(jump.videoTo), Time(jump.recordingFrom),
                         Time(jump.recordingTo));
    std::vector<avsync::SyncPoint> points;
    for (const align::ProposedPoint& point : found.points)
        points.push_back({point.video, point.audio});
    for (const avsync::VideoSpan& span : avsync::SilentSpans(points))
        text += QStringLiteral("\nSilent: video %1 to %2 s, where the separate sound jumps")
                    .arg(Time(span.from), Time(span.to));
    return text;
}

} // namespace

PointProposalsDialog::PointProposalsDialog(const align::Alignment& found, QWidget* parent)
    : QDialog(parent), points_(found.points) {
    setWindowTitle("Points found");
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(static_cast<int>(points_.size()), 3);
    table_->setHorizontalHeaderLabels({"Video time", "Separate sound time", "Confidence"});
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->verticalHeader()->hide();
    for (int row = 0; row < table_->rowCount(); ++row) {
        const align::ProposedPoint& point = points_[static_cast<std::size_t>(row)];
        QTableWidgetItem* video = Cell(Time(point.video));
        video->setFlags(video->flags() | Qt::ItemIsUserCheckable);
        video->setCheckState(Qt::Checked);
        table_->setItem(row, 0, video);
        table_->setItem(row, 1, Cell(Time(point.audio)));
        table_->setItem(row, 2, Cell(QString::number(point.confidence, 'f', 2)));
    }
    layout->addWidget(table_);
    layout->addWidget(new QLabel(Summary(found)));

    auto* buttons = new QHBoxLayout;
    addAll_ = new QPushButton("Add all points");
    addChecked_ = new QPushButton("Add checked points");
    cancel_ = new QPushButton("Cancel");
    buttons->addStretch();
    for (QPushButton* button : {addAll_, addChecked_, cancel_})
        buttons->addWidget(button);
    layout->addLayout(buttons);
    connect(addAll_, &QPushButton::clicked, this, [this] {
        CheckAll();
        accept();
    });
    connect(addChecked_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    resize(460, 420);
}

void PointProposalsDialog::CheckAll() {
    for (int row = 0; row < table_->rowCount(); ++row)
        table_->item(row, 0)->setCheckState(Qt::Checked);
}

std::vector<avsync::SyncPoint> PointProposalsDialog::Chosen() const {
    std::vector<avsync::SyncPoint> chosen;
    if (result() != QDialog::Accepted)
        return chosen;
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (table_->item(row, 0)->checkState() == Qt::Checked) {
            const align::ProposedPoint& point = points_[static_cast<std::size_t>(row)];
            chosen.push_back({point.video, point.audio});
        }
    }
    return chosen;
}
