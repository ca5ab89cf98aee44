// The composed preview: the timeline built from the points, played through a render engine
// by a third player, with its own seek bar.
#include "app/vellum_app.h"
#include "app/vellum_dlg.h"
#include "controls/bitmap_slider.h"
#include "language/language.h"
#include "platform/ui/prompts.h"
#include "preview/preview_window.h"
#include "render/composed_times.h"
#include "resources/resource.h"
#include "sync/time_text.h"

#include <QApplication>

namespace {

// The source players' transport, off while the composed preview plays: it would start the
// original sound under the preview's.
constexpr int kSourceTransport[] = {IDC_BUTTON_PLAY,
                                    IDC_BUTTON_PAUSE,
                                    IDC_BUTTON_STOP,
                                    IDC_BUTTON_JUMP_FORWARD,
                                    IDC_BUTTON_JUMP_BACKWARD,
                                    IDC_BUTTON_AUDIO_JUMP_FORWARD,
                                    IDC_BUTTON_AUDIO_VIDEO_RESTORE,
                                    IDC_BUTTON_AUDIO_JUMP_BACKWARD,
                                    IDC_SLIDER_POSITION};

} // namespace

void CVellumDlg::OnPreview() {
    // A running preview always stops, also once its video was closed under it.
    if (previewRunning == 1) {
        StopPreview();
        return;
    }
    if (photoList.Count() == 0) {
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_OPEN_VIDEO_FIRST));
        return;
    }
    if (converting == 1) {
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_STOP_CONVERT_FIRST));
        return;
    }
    StartPreview();
}

void CVellumDlg::CheckOutputFrameRate() {
    if (output.frameRateIndex != 0 || (output.outputFrameRate <= 100 && output.outputFrameRate >= 0))
        return;
    const QString question = QString::asprintf(
        "The output frame rate is %f.The value may not be proper.\nClick Yes to set the output "
        "frame rate 23.976. Click No to keep it.",
        output.sourceFrameRate);
    output.outputFrameRate = ui::MessageBox(this, question, "Warning", ui::MB_YESNO) == ui::IDYES
                                 ? 23.976
                                 : output.sourceFrameRate;
}

bool CVellumDlg::ComposeTimeline() {
    if (!ReadTimes() || !CheckComposable() || !CheckVideoUnchanged())
        return false;
    composedTimes = render::ComposedTimes(syncState, photoList[0].path);
    singleSpan = composedTimes.syncCount <= 0 ? 1 : 0;
    return SUCCEEDED(
        composition.BuildTimeline({composedTimes, photoList, musicList, output, singleSpan}));
}

void CVellumDlg::StartPreview() {
    CheckOutputFrameRate();
    if (!ComposeTimeline())
        return;
    previewEngine = std::make_unique<editing::RenderEngine>();
    const auto fail = [this](const char* message) {
        ui::MessageBox(this, message);
        previewEngine.reset();
        composition.ReleaseTimeline();
    };
    if (FAILED(previewEngine->SetTimelineObject(composition.Timeline())))
        return fail("Could not SetTimelineObject");
    previewEngine->SetDynamicReconnectLevel(1);
    if (FAILED(previewEngine->ConnectFrontEnd()))
        return fail("Could not ConnectFrontEnd");
    if (FAILED(previewEngine->RenderOutputPins()))
        return fail("Could not RenderOutputPins");
    graph::FilterGraph* graph = nullptr;
    if (FAILED(previewEngine->GetFilterGraph(&graph)))
        return fail("Could not GetFilterGraph");
    // One sound at a time: the source players rest while the preview plays.
    for (preview::CVcdCore* player : {videoPlayer.get(), audioPlayer.get()}) {
        if (player && player->playState == preview::Running)
            player->Pause();
    }
    resultPlayer = std::make_unique<preview::CVcdCore>(this, preview::AllStreams);
    if (FAILED(resultPlayer->OpenGraph(graph))) {
        resultPlayer.reset();
        return fail("Could run graph");
    }
    MoveClearOfWindows(*resultPlayer);
    resultPlayer->SeekTo(avsync::TextToTime(GetDlgItemText(IDC_EDIT_PREVIEW_START).toStdString()));
    for (int id : kSourceTransport)
        EnableDlgItem(id, false);
    previewRunning = 1;
    SetDlgItemText(IDC_BUTTON_PREVIEW_VIDEO, Language().GetDialogTextOrString(IDS_BUTTON_STOP));
    previewBar_->start();
}

void CVellumDlg::StopPreview() {
    previewBar_->stop();
    if (resultPlayer) {
        resultPlayer->Close();
        resultPlayer.reset();
    }
    if (previewEngine) {
        previewEngine->ScrapIt();
        previewEngine.reset();
    }
    composition.ReleaseTimeline();
    previewRunning = 0;
    for (int id : kSourceTransport)
        EnableDlgItem(id, videoPlayer != nullptr);
    const QString preview = Language().GetDialogText(IDC_BUTTON_PREVIEW_VIDEO);
    SetDlgItemText(IDC_BUTTON_PREVIEW_VIDEO,
                   preview.isEmpty() ? QStringLiteral("Preview") : preview);
    previewBarPosition = 0;
    Item<CBitmapSlider>(IDC_SLIDER_PREVIEW)->setValue(0);
}

void CVellumDlg::OnPreviewBarReleased() {
    previewBarPosition = Item<CBitmapSlider>(IDC_SLIDER_PREVIEW)->value();
    if (!resultPlayer || resultPlayer->stopPosition == 0)
        return;
    resultPlayer->SeekTo(static_cast<REFERENCE_TIME>(
        (previewBarPosition / 600.0) * static_cast<double>(resultPlayer->stopPosition)));
}
