// "Set Filter's Properties" over a conversion graph: every filter in the graph's order, and
// the settings page of those that have one.
#include "options/av_options_dialog.h"
#include "options/filter_property_dialog.h"
#include "platform/graph/filter_graph.h"
#include "platform/graph/null_renderer.h"
#include "platform/graph/writing/encoder.h"
#include "platform/graph/writing/multiplexer.h"
#include "resources/resource.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(FilterPropertyDialog, ListsTheGraphsFiltersAndOpensTheSettingsOfThoseThatHaveThem) {
    testsupport::PromptScope scope;
    graph::FilterGraph graph;
    std::shared_ptr<graph::Encoder> first, second;
    ASSERT_EQ(graph::Encoder::Create(avcodec_find_encoder_by_name("mpeg4"), "Twin", &first), S_OK);
    ASSERT_EQ(graph::Encoder::Create(avcodec_find_encoder_by_name("flac"), "Twin", &second), S_OK);
    std::shared_ptr<graph::Multiplexer> mux;
    ASSERT_EQ(graph::Multiplexer::Create(av_guess_format("matroska", nullptr, nullptr),
                                         "matroska Mux", &mux),
              S_OK);
    ASSERT_EQ(graph.AddFilter(std::make_shared<graph::NullRenderer>(graph::MajorType::Other)),
              S_OK);
    ASSERT_EQ(graph.AddFilter(first), S_OK);
    ASSERT_EQ(graph.AddFilter(second), S_OK);
    ASSERT_EQ(graph.AddFilter(mux), S_OK);

    CDialogFilterPerproty dialog;
    dialog.filterGraph = &graph;
    QString pageTitle;
    bool pageHasBitrate = false;
    testsupport::RunModal(dialog, [&] {
        auto* list = dialog.Item<QListWidget>(IDC_LIST_FILTERS);
        ASSERT_EQ(list->count(), 4);
        EXPECT_EQ(list->item(1)->text(), "Twin");
        EXPECT_EQ(list->item(3)->text(), "matroska Mux");
        // Row 0 is selected on opening; a renderer has no settings.
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_FALSE(dialog.GetDlgItem(IDC_BUTTON_FILTER_SETTINGS)->isEnabled());
        list->setCurrentRow(3);
        EXPECT_TRUE(dialog.GetDlgItem(IDC_BUTTON_FILTER_SETTINGS)->isEnabled());

        // Both rows named "Twin" open the first one's page: the video encoder's.
        list->setCurrentRow(2);
        QTimer::singleShot(0, [&] {
            auto* page = qobject_cast<CDialogAvOptions*>(QApplication::activeModalWidget());
            if (!page)
                return;
            pageTitle = page->windowTitle();
            pageHasBitrate = page->Editor("b") != nullptr && page->Editor("motion_est") != nullptr;
            page->reject();
        });
        QTest::mouseClick(dialog.GetDlgItem(IDC_BUTTON_FILTER_SETTINGS), Qt::LeftButton);
        QTest::mouseClick(dialog.GetDlgItem(IDCANCEL_BUTTON), Qt::LeftButton);
    });
    EXPECT_EQ(pageTitle, "Twin");
    EXPECT_TRUE(pageHasBitrate);
}
