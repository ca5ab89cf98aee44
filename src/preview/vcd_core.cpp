#include "preview/vcd_core.h"

#include "language/language.h"
#include "platform/core/window_message.h"
#include "platform/graph/event_queue.h"
#include "platform/graph/filter_graph.h"
#include "platform/ui/prompts.h"
#include "preview/preview_window.h"
#include "platform/ui/show_error.h"
#include "resources/resource.h"

#include <QElapsedTimer>
#include <QWidget>

namespace preview {

int topmostToggle = 1;

std::uint32_t TickCount() {
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return static_cast<std::uint32_t>(clock.elapsed());
}

CVcdCore::CVcdCore(QWidget* owner, PlayerMode mode) : ownerWindow(owner), playerMode(mode) {
    pollTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pollTimer_, &QTimer::timeout, [this] { PollPosition(); });
    cursorTimer_.setInterval(50'000);
    QObject::connect(&cursorTimer_, &QTimer::timeout, [this] { HideIdleCursor(); });
}

CVcdCore::~CVcdCore() {
    if (playState != Init)
        Close();
}

QTimer* CVcdCore::Timer(int id) const {
    return const_cast<QTimer*>(id == kPollTimer ? &pollTimer_ : id == kCursorTimer ? &cursorTimer_ : nullptr);
}

bool CVcdCore::OpenFile() {
    playState = Stopped;
    volume = 0;
    CreatePreviewWindow();
    ownedGraph_ = std::make_unique<graph::FilterGraph>();
    pGB = ownedGraph_.get();
    if (FAILED(pGB->RenderFile(fileName))) {
        ui::MessageBox(nullptr,
                       "Cannot play the file.  The file is either corrupt or\nthe player does not "
                       "support the format you are trying to play.\nYou need to install "
                       "appropriate decoders.",
                       "Video Converter");
        Close();
        return false;
    }
    RemoveStreams(*pGB, playerMode);
    if (FAILED(QueryInterfaces()) || FAILED(AttachGraphToWindow(true))) {
        Close();
        return false;
    }
    StartPolling(playerMode == AllStreams ? 1000 : 100);
    return true;
}

HRESULT CVcdCore::OpenGraph(graph::FilterGraph* graph) {
    if (fileName.empty() && ownerWindow) {
        ownerWindow->showNormal();
        ownerWindow->activateWindow();
    }
    playState = Stopped;
    volume = 0;
    CreatePreviewWindow();
    pGB = graph;
    HRESULT hr = QueryInterfaces();
    if (SUCCEEDED(hr))
        hr = AttachGraphToWindow(false);
    if (FAILED(hr)) {
        Close();
        return hr;
    }
    StartPolling(1000);
    hr = pMC->Run();
    if (FAILED(hr)) {
        ui::ShowError("FAILED(hr=0x%x) in pMC->Run()\n", hr);
        Close();
        return hr;
    }
    playState = Running;
    return hr;
}

HRESULT CVcdCore::QueryInterfaces() {
    struct Query {
        HRESULT hr;
        const char* message;
    };
    const Query queries[] = {
        {pGB->QueryInterface(&pMC), "FAILED(hr=0x%x) in pGB->QueryInterface(IID_IMediaControl, (void **)&pMC)\n"},
        {pGB->QueryInterface(&pME), "FAILED(hr=0x%x) in pGB->QueryInterface(IID_IMediaEventEx, (void **)&pME)\n"},
        {pGB->QueryInterface(&pMS), "FAILED(hr=0x%x) in pGB->QueryInterface(IID_IMediaSeeking, (void **)&pMS)\n"},
        {pGB->QueryInterface(&pVW), "FAILED(hr=0x%x) in pGB->QueryInterface(IID_IVideoWindow, (void **)&pVW)\n"},
        {pGB->QueryInterface(&pBV), "FAILED(hr=0x%x) in pGB->QueryInterface(IID_IBasicVideo, (void **)&pBV)\n"},
        {pGB->QueryInterface(&pBA), "FAILED(hr=0x%x) in pGB->QueryInterface(IID_IBasicAudio, (void **)&pBA)\n"},
    };
    for (const Query& query : queries) {
        if (FAILED(query.hr)) {
            ui::ShowError(query.message, query.hr);
            return query.hr;
        }
    }
    return S_OK;
}

// The open steps after the interfaces: decide whether there is a picture, take the graph's
// events, and put the picture into the preview window (or hide the window without one).
HRESULT CVcdCore::AttachGraphToWindow(bool decideByMode) {
    noVideo = 0;
    if (!pVW || !pBV) {
        noVideo = 1;
    } else {
        long visible = 0;
        const HRESULT hr = pVW->get_Visible(&visible);
        if (hr == E_NOINTERFACE)
            noVideo = 1;
        else if (FAILED(hr))
            ui::ShowError("Failed(%08lx) in pVW->get_Visible()!\r\n", static_cast<long>(hr));
    }
    HRESULT hr = pME->SetNotifyWindow(m_hWnd, WM_GRAPHNOTIFY, 0);
    if (FAILED(hr)) {
        ui::ShowError("FAILED(hr=0x%x) in pME->SetNotifyWindow(reinterpret_cast<OAHWND>(m_hWnd), "
                  "WM_GRAPHNOTIFY, 0)\n",
                  hr);
        return hr;
    }
    if (decideByMode && playerMode == AudioOnly)
        noVideo = 1;
    if (noVideo == 0) {
        long style = 0;
        pVW->get_WindowStyle(&style);
        pVW->put_WindowStyle((style & 0xFF3BFFFF) | 0x40000000);
        pVW->put_Owner(m_hWnd);
        pVW->put_MessageDrain(m_hWnd);
        hr = InitVideoWindow(1, 1);
        if (FAILED(hr)) {
            ui::ShowError("FAILED(hr=0x%x) in InitVideoWindow(1, 1)\n", hr);
            return hr;
        }
    }
    if (noVideo == 1) {
        m_hWnd->hide();
    } else {
        windowShown = 1;
        m_hWnd->showNormal();
    }
    m_hWnd->update();
    m_hWnd->activateWindow();
    m_hWnd->setFocus();
    UpdateCaption();
    return S_OK;
}

void CVcdCore::StartPolling(int periodMs) {
    pollTimer_.setInterval(periodMs);
    pollTimer_.start();
}

void CVcdCore::Play() {
    if (pMC && (playState == Stopped || playState == Paused) && SUCCEEDED(pMC->Run()))
        playState = Running;
    if (pMS && SUCCEEDED(pMS->SetRate(1.0)))
        UpdateCaption();
}

void CVcdCore::Cue() {
    if (pMC && playState == Stopped && SUCCEEDED(pMC->Pause()))
        playState = Paused;
    UpdateCaption();
}

void CVcdCore::Pause() {
    if (pMC && playState != Stopped && playState != Paused && SUCCEEDED(pMC->Pause()))
        playState = Paused;
    UpdateCaption();
}

void CVcdCore::Stop() {
    if (pMC && pMS && (playState == Paused || playState == Running)) {
        cursorTimer_.stop();
        pMC->Stop();
        playState = Stopped;
        REFERENCE_TIME start = 0;
        pMS->SetPositions(&start, graph::AM_SEEKING_AbsolutePositioning, nullptr,
                          graph::AM_SEEKING_NoPositioning);
        // Paused at 0 so the first frame shows; the player still counts as stopped.
        pMC->Pause();
    }
    UpdateCaption();
}

void CVcdCore::Close() {
    if (pMC)
        pMC->Stop();
    playState = Stopped;
    noVideo = 1;
    pollTimer_.stop();
    // The graph stops posting to the window before the window goes.
    if (pME)
        pME->SetNotifyWindow(nullptr, 0, 0);
    if (windowCreated)
        DestroyPreviewWindow();
    ReleaseInterfaces();
    fileName.clear();
    playState = Init;
    if (ownerWindow)
        ownerWindow->update();
    UpdateCaption();
}

namespace {

// Runs a seek in media time, putting back whatever time format was set before.
template <typename Body> HRESULT InMediaTime(graph::IMediaSeeking* seeking, Body body) {
    if (seeking->IsFormatSupported(graph::TimeFormat::MediaTime) != S_OK)
        return E_NOINTERFACE;
    graph::TimeFormat previous = graph::TimeFormat::MediaTime;
    HRESULT hr = seeking->GetTimeFormat(&previous);
    if (FAILED(hr))
        return hr;
    hr = seeking->SetTimeFormat(graph::TimeFormat::MediaTime);
    if (FAILED(hr))
        return hr;
    hr = body();
    if (FAILED(hr))
        return hr;
    if (previous != graph::TimeFormat::MediaTime)
        hr = seeking->SetTimeFormat(previous);
    return hr;
}

HRESULT SeekAbsolute(graph::IMediaSeeking* seeking, REFERENCE_TIME target) {
    if (target < 0)
        target = 0;
    return seeking->SetPositions(&target, graph::AM_SEEKING_AbsolutePositioning, nullptr,
                                 graph::AM_SEEKING_NoPositioning);
}

} // namespace

HRESULT CVcdCore::SkipSeconds(int seconds) {
    if (!pMS)
        return 0;
    return InMediaTime(pMS, [&] {
        const HRESULT hr = pMS->GetCurrentPosition(&currentPosition);
        if (FAILED(hr))
            return hr;
        return SeekAbsolute(pMS, static_cast<REFERENCE_TIME>(seconds) * UNITS + currentPosition);
    });
}

HRESULT CVcdCore::SeekTo(REFERENCE_TIME time) {
    if (!pMS)
        return 0;
    return InMediaTime(pMS, [&] { return SeekAbsolute(pMS, time); });
}

void CVcdCore::KeepTimeWith(const CVcdCore& other) {
    if (pGB)
        pGB->SetSyncSource(other.pGB ? other.pGB->SoundClock() : nullptr);
}

void CVcdCore::PollPosition() {
    if (!pMS)
        return;
    const HRESULT hr = InMediaTime(pMS, [&] {
        HRESULT result = pMS->GetStopPosition(&stopPosition);
        if (SUCCEEDED(result))
            result = pMS->GetCurrentPosition(&currentPosition);
        return result;
    });
    if (FAILED(hr))
        return;
    if (ownerWindow)
        core::PostMessage(ownerWindow, WM_PLAYERTICK);
}

void CVcdCore::HandleGraphEvents() {
    if (!pME)
        return;
    long code = 0;
    std::intptr_t param1 = 0;
    std::intptr_t param2 = 0;
    while (pME && SUCCEEDED(pME->GetEvent(&code, &param1, &param2, 0))) {
        pME->FreeEventParams(code, param1, param2);
        if (code == graph::EC_COMPLETE)
            Stop();
    }
}

void CVcdCore::UpdateCaption() {
    if (!m_hWnd)
        return;
    if (fileName.empty()) {
        m_hWnd->setWindowTitle(Language().GetString(IDS_PREVIEW_WINDOW_TITLE));
        return;
    }
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    m_hWnd->setWindowTitle(
        QString::fromStdString(name) + "  " +
        (playState == Paused ? Language().GetString(IDS_PICTURE_WINDOW_PAUSED) : QString()));
}

void CVcdCore::ReleaseInterfaces() {
    if (pVW) {
        pVW->put_Visible(graph::OAFALSE);
        pVW->put_Owner(nullptr);
    }
    if (pME)
        pME->SetNotifyWindow(nullptr, 0, 0);
    pME = nullptr;
    pMS = nullptr;
    pMC = nullptr;
    pBA = nullptr;
    pBV = nullptr;
    pVW = nullptr;
    pGB = nullptr;
    ownedGraph_.reset();
}

} // namespace preview
