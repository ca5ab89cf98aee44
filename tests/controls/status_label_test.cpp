// The status line keeps its fields whole: one line when the text fits, else one line per
// field, a long path shortened in its middle; the text itself is never changed.
#include "controls/status_label.h"

#include <gtest/gtest.h>

TEST(StatusLabel, BreaksBetweenFieldsAndShortensOnlyWhatStillDoesNotFit) {
    CStatusLabel label;
    const QString longPath = "/home/someone/" + QString("very-long-folder-name/").repeated(8) + "film.avi";
    const QString status = "Output file: " + longPath + "     Resolution: 320*240";
    label.setText(status);
    label.resize(400, label.sizeHint().height());
    EXPECT_EQ(label.text(), status);
    const QStringList lines = label.DisplayedLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Output file: /home/"));
    EXPECT_TRUE(lines[0].endsWith("film.avi"));
    EXPECT_TRUE(lines[0].contains(QChar(0x2026)));
    EXPECT_EQ(lines[1], "Resolution: 320*240");
    for (const QString& line : lines)
        EXPECT_LE(label.fontMetrics().horizontalAdvance(line), label.contentsRect().width());

    // Two fields that fit side by side stay on one line.
    label.setText("Output file: /tmp/a.avi     Resolution: Original size");
    label.resize(2000, label.height());
    EXPECT_EQ(label.DisplayedLines(), QStringList{label.text()});
    // The clock of a running conversion has no field gap.
    label.setText("Please wait... Used Time: 00:00:07");
    label.resize(60, label.height());
    EXPECT_EQ(label.DisplayedLines().size(), 1);
}
