// The shipped language files on the windows they translate: every text shows whole in its
// control, in the main window, in each output format of the options dialog and in the small
// dialogs; and the English file gives the windows back the program's own texts.
#include "app/about_dlg.h"
#include "app/maker.h"
#include "app/point_proposals_dialog.h"
#include "app/vellum_dlg.h"
#include "language/language.h"
#include "options/filter_property_dialog.h"
#include "options/output_settings_dialog.h"
#include "platform/core/window_message.h"
#include "platform/graph/filter_graph.h"
#include "resources/resource.h"
#include "support/media_fixtures.h"
#include "support/modal_run.h"
#include "support/scripted_prompts.h"
#include "support/test_environment.h"
#include "support/user_input.h"
#include "sync/change_sync_point_dialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTableWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

const QString kBase = QStringLiteral(QUILLET_LANGUAGE_DIR);

bool ShowsText(const QWidget* control) {
    return qobject_cast<const QLabel*>(control) || qobject_cast<const QAbstractButton*>(control) ||
           qobject_cast<const QGroupBox*>(control);
}

QString TextOf(const QWidget* control) {
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(control))
        return group->title();
    return {};
}

// The width a control needs to show its whole text; 0 for one that wraps its text or shows
// none.
int NeededWidth(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->wordWrap() ? 0 : label->sizeHint().width();
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        // The title only: the controls inside are checked on their own.
        if (group->title().isEmpty())
            return 0;
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QFontMetrics metrics = group->fontMetrics();
        const QSize title(metrics.size(Qt::TextShowMnemonic, group->title()).width() +
                              metrics.horizontalAdvance(u' '),
                          metrics.height());
        return group->style()->sizeFromContents(QStyle::CT_GroupBox, &option, title, group).width();
    }
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        // The style's minimum button width is a preference, not a need: a short text shows
        // whole in a narrower button. What counts is the text, the icon and the frame.
        const QStyle* style = button->style();
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        return button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() + icon +
               style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
               2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->sizeHint().width();
    return 0;
}

void ExpectTextsFit(const QWidget* window, const std::string& where) {
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisible())
            continue;
        EXPECT_LE(NeededWidth(control), control->width())
            << where << ": control " << ui::Dialog::ControlId(control) << " \""
            << TextOf(control).toStdString() << "\"";
    }
}

void ExpectHeadingsFit(const QTableWidget* table) {
    const QHeaderView* header = table->horizontalHeader();
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int column = 0; column < table->columnCount(); ++column) {
        const QString heading = table->horizontalHeaderItem(column)->text();
        EXPECT_LE(header->fontMetrics().horizontalAdvance(heading) + margin,
                  header->sectionSize(column))
            << heading.toStdString();
    }
}

// Found points with every line of the summary: the drift, a jump and the silence it leaves.
align::Alignment FoundWithAJump() {
    align::Alignment found;
    found.matched = true;
    found.driftPpm = -123.45;
    found.offset = 12345678;
    found.points = {{0, 12345678, 0.98},
                    {600000000, 612345678, 0.97},
                    {700000000, 612345678, 0.96},
                    {1200000000, 1112345678, 0.99}};
    found.jumps = {{600000000, 700000000, 612345678, 612345678}};
    return found;
}

// The texts of a window's numbered controls, and its caption under 0.
std::map<int, QString> ControlTexts(const QWidget* window) {
    std::map<int, QString> texts{{0, window->windowTitle()}};
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        if (const int id = ui::Dialog::ControlId(control); id > 0 && ShowsText(control))
            texts[id] = TextOf(control);
    }
    return texts;
}

void ExpectSameTexts(const std::map<int, QString>& texts, const std::map<int, QString>& expected,
                     const char* where) {
    EXPECT_EQ(texts.size(), expected.size()) << where;
    for (const auto& [id, text] : expected) {
        const auto found = texts.find(id);
        ASSERT_NE(found, texts.end()) << where << ": control " << id;
        EXPECT_EQ(found->second.toStdString(), text.toStdString()) << where << ": control " << id;
    }
}

// Every text a window shows: its caption, its visible controls' texts and tool tips, the items
// of its lists other than `dataLists` (which hold names of files or components), the headings
// of its tables, and its read-only boxes.
QStringList VisibleTexts(const QWidget* window, std::initializer_list<int> dataLists = {}) {
    QStringList texts{window->windowTitle()};
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisible())
            continue;
        texts << control->toolTip() << TextOf(control);
        if (auto* edit = qobject_cast<const QLineEdit*>(control); edit && edit->isReadOnly())
            texts << edit->text();
        if (auto* combo = qobject_cast<const QComboBox*>(control);
            combo && !std::ranges::count(dataLists, ui::Dialog::ControlId(combo))) {
            for (int row = 0; row < combo->count(); ++row)
                texts << combo->itemText(row);
        }
        if (auto* table = qobject_cast<const QTableWidget*>(control)) {
            for (int column = 0; column < table->columnCount(); ++column)
                texts << table->horizontalHeaderItem(column)->text();
        }
    }
    return texts;
}

// The texts of the loaded language file as patterns, longest first, a value's %1 markers
// standing for anything.
std::vector<QRegularExpression> LanguagePatterns() {
    QStringList values;
    for (const auto* list :
         {&Language().menuTexts, &Language().dialogTexts, &Language().stringTexts}) {
        for (const TextEntry& entry : *list)
            values << entry.text.split(u'\n', Qt::SkipEmptyParts);
    }
    std::ranges::sort(values,
                      [](const QString& a, const QString& b) { return a.size() > b.size(); });
    std::vector<QRegularExpression> patterns;
    static const QRegularExpression marker(QStringLiteral("%[0-9]"));
    for (const QString& value : values) {
        QStringList pieces;
        for (const QString& piece : value.split(marker))
            pieces << QRegularExpression::escape(piece);
        patterns.emplace_back(pieces.join(QStringLiteral(".*?")));
    }
    return patterns;
}

// The words of `texts` that neither a text of the loaded language nor the window's data
// account for: English left behind where a key is missing.
std::string UnkeyedWords(QStringList texts, const QStringList& data) {
    const std::vector<QRegularExpression> patterns = LanguagePatterns();
    static const QRegularExpression word(QStringLiteral("\\p{L}{2,}"));
    QStringList unkeyed;
    for (QString text : texts) {
        if (Qt::mightBeRichText(text))
            text = QTextDocumentFragment::fromHtml(text).toPlainText();
        for (const QString& name : data)
            text.remove(name);
        for (const QRegularExpression& pattern : patterns)
            text.remove(pattern);
        for (const auto& match : word.globalMatch(text))
            unkeyed << match.captured();
    }
    unkeyed.removeDuplicates();
    return unkeyed.join(u' ').toStdString();
}

void PrepareOptions(CDialogOutputSettings& dialog) {
    dialog.outputFileName = "/tmp/films/clip.wmv";
    dialog.nativeWidth = 1920;
    dialog.nativeHeight = 1080;
    dialog.outputWidth = 1920;
    dialog.outputHeight = 1080;
    dialog.videoCount = 1;
    dialog.sourceFrameRate = 29.97;
    dialog.videoBitrate = 798720;
    dialog.audioBitrate = 128000;
}

// Each test starts with its language loaded and leaves the built-in English texts behind for
// the other tests of the program.
class ShippedLanguageWindowsTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        testsupport::UseTemporarySettings();
        Language() = CLanguage();
        ASSERT_TRUE(Language().Init(kBase, GetParam()));
        ASSERT_EQ(Language().currentLanguage, GetParam());
    }
    void TearDown() override { Language() = CLanguage(); }

    testsupport::PromptScope scope;
};

class EnglishFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::UseTemporarySettings();
        Language() = CLanguage();
    }
    void TearDown() override { Language() = CLanguage(); }

    testsupport::PromptScope scope;
};

} // namespace

TEST_P(ShippedLanguageWindowsTest, TheMainWindowShowsEveryTextWhole) {
    CVellumDlg dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    // Translated at its set-up, so the check below sees the language's texts.
    EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_AUDIO_VIDEO_RESTORE),
              Language().GetDialogText(IDC_BUTTON_AUDIO_VIDEO_RESTORE));
    ExpectTextsFit(&dlg, GetParam());

    ExpectHeadingsFit(dlg.Item<QTableWidget>(IDC_LIST_SYNC_POINTS));
    EXPECT_TRUE(scope.prompts.messages.empty());
}

TEST_P(ShippedLanguageWindowsTest, TheOptionsDialogShowsEveryTextWholeInEveryFormat) {
    CDialogOutputSettings dialog;
    PrepareOptions(dialog);
    testsupport::RunModal(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), Language().GetDialogText(IDD_DIALOG_OUTPUT_OPTIONS));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_STATIC_UNIT_SECOND_4),
                  Language().GetDialogText(IDC_STATIC_UNIT_SECOND_4));
        auto* formats = dialog.Item<QComboBox>(IDC_COMBO_OUTPUT_FORMAT);
        for (int format = 0; format < formats->count(); ++format) {
            ASSERT_TRUE(testsupport::PickRow(formats, format));
            ExpectTextsFit(&dialog, std::string(GetParam()) + " in format " +
                                        formats->currentText().toStdString());
        }
    });
}

TEST_P(ShippedLanguageWindowsTest, TheSmallDialogsShowEveryTextWhole) {
    CDialogChangeSyncPoint change;
    testsupport::RunModal(change, [&] {
        EXPECT_EQ(change.GetDlgItemText(IDC_STATIC_CHANGE_SYNC_AUDIO_TIME),
                  Language().GetDialogText(IDC_STATIC_CHANGE_SYNC_AUDIO_TIME));
        ExpectTextsFit(&change, std::string(GetParam()) + " changing a point");
    });
    CAboutDlg about;
    testsupport::RunModal(about, [&] { ExpectTextsFit(&about, std::string(GetParam()) + " about"); });
    PointProposalsDialog proposals(FoundWithAJump(), IDS_COLUMN_FOUND_SOUND_TIME, true, nullptr);
    testsupport::RunModal(proposals, [&] {
        EXPECT_EQ(proposals.windowTitle(), Language().GetDialogText(IDD_DIALOG_POINT_PROPOSALS));
        EXPECT_EQ(proposals.AddCheckedButton()->text(),
                  Language().GetString(IDS_BUTTON_ADD_CHECKED_POINTS));
        ExpectTextsFit(&proposals, std::string(GetParam()) + " points found");
        ExpectHeadingsFit(proposals.Table());
    });
    // The filters' dialog has no texts in the files: its number is that of a column heading,
    // whose text would otherwise become its caption.
    graph::FilterGraph graph;
    CDialogFilterPerproty filters;
    filters.filterGraph = &graph;
    testsupport::RunModal(filters, [&] { EXPECT_EQ(filters.windowTitle(), "Set Filter's Properties"); });
}

TEST_P(ShippedLanguageWindowsTest, EveryVisibleTextComesFromTheLanguageFile) {
    const QString video = QString::fromStdString(testsupport::Clip(testsupport::ClipKind::H264Aac));
    CVellumDlg dlg;
    dlg.show();
    QStringList mainTexts = VisibleTexts(&dlg);
    scope.prompts.fileAnswers = {video};
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_ADD_VIDEO), Qt::LeftButton);
    ASSERT_TRUE(dlg.videoPlayer);
    dlg.videoPlayer->currentPosition = UNITS;
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_ADD_SYNC_POINT), Qt::LeftButton);
    core::PostMessage(&dlg, WM_PLAYERTICK);
    QCoreApplication::processEvents();
    mainTexts << VisibleTexts(&dlg);
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_PREVIEW_VIDEO), Qt::LeftButton);
    mainTexts << VisibleTexts(&dlg);
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_PREVIEW_VIDEO), Qt::LeftButton);
    mainTexts << VisibleTexts(&dlg);
    const QStringList data{video, QFileInfo(video).fileName(), dlg.output.outputFileName};
    EXPECT_EQ(UnkeyedWords(mainTexts, data), "") << "main window";

    CDialogOutputSettings options;
    PrepareOptions(options);
    testsupport::RunModal(options, [&] {
        auto* formats = options.Item<QComboBox>(IDC_COMBO_OUTPUT_FORMAT);
        for (int format = 0; format < formats->count(); ++format) {
            ASSERT_TRUE(testsupport::PickRow(formats, format));
            const QStringList texts =
                VisibleTexts(&options, {IDC_COMBO_VIDEO_COMPRESSOR, IDC_COMBO_AUDIO_COMPRESSOR,
                                        IDC_COMBO_MUXER_SORTED});
            EXPECT_EQ(UnkeyedWords(texts, {}), "") << "options, format " << format;
        }
    });
    CDialogChangeSyncPoint change;
    testsupport::RunModal(
        change, [&] { EXPECT_EQ(UnkeyedWords(VisibleTexts(&change), {}), "") << "point dialog"; });
    PointProposalsDialog proposals(FoundWithAJump(), IDS_COLUMN_FOUND_SOUND_TIME, true, nullptr);
    testsupport::RunModal(proposals, [&] {
        EXPECT_EQ(UnkeyedWords(VisibleTexts(&proposals), {}), "") << "points found";
    });
    CAboutDlg about;
    testsupport::RunModal(about, [&] {
        const QStringList names{maker::kName, maker::kContactPage, maker::kWebSite};
        EXPECT_EQ(UnkeyedWords(VisibleTexts(&about), names), "") << "about box";
    });
    EXPECT_TRUE(scope.prompts.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLanguageWindowsTest,
                         ::testing::Values("English", "French_France", "German_Germany_utf-8",
                                           "Spanish_Spain", "chs_unicode"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (c == '-')
                                     c = '_';
                             }
                             return name;
                         });

TEST_F(EnglishFileTest, GivesTheWindowsTheProgramsOwnTexts) {
    const auto mainWindowTexts = [] {
        CVellumDlg dlg;
        return ControlTexts(&dlg);
    };
    const auto optionsTexts = [] {
        CDialogOutputSettings dialog;
        PrepareOptions(dialog);
        std::map<int, QString> texts;
        testsupport::RunModal(dialog, [&] { texts = ControlTexts(&dialog); });
        return texts;
    };
    const std::map<int, QString> builtInMain = mainWindowTexts();
    const std::map<int, QString> builtInOptions = optionsTexts();

    ASSERT_TRUE(Language().Init(kBase, "English"));
    ExpectSameTexts(mainWindowTexts(), builtInMain, "main window");
    ExpectSameTexts(optionsTexts(), builtInOptions, "options");
    EXPECT_TRUE(scope.prompts.messages.empty());
}
