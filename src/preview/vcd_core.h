#pragma once
// A player: one filter graph and one preview window. The main window keeps a picture-only
// player and a sound-only player on the opened video, and a third player on the composed
// result while the preview runs. Everything here runs on the user-interface thread; the
// graph reports back through messages posted to the preview window.
#include "platform/core/reftime.h"
#include "platform/core/status.h"
#include "preview/stream_removal.h"

#include <QRect>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <string>

class QWidget;

namespace graph {
class FilterGraph;
class IMediaControl;
class IMediaEventEx;
class IMediaSeeking;
class IVideoWindow;
class IBasicVideo;
class IBasicAudio;
} // namespace graph

namespace preview {

class PreviewWindow;

enum PlayState { Stopped = 0, Paused = 1, Running = 2, Init = 3 };

// Shared by every player: whether the next windowed click lowers the main window.
extern int topmostToggle;

class CVcdCore {
  public:
    // ownerWindow: the main window, which receives the position ticks and forwarded closes.
    CVcdCore(QWidget* ownerWindow, PlayerMode mode);
    virtual ~CVcdCore();
    CVcdCore(const CVcdCore&) = delete;
    CVcdCore& operator=(const CVcdCore&) = delete;

    QWidget* ownerWindow;
    std::string fileName; // set by the caller before OpenFile
    int noVideo = 0;
    int fullScreen = 0;
    PlayState playState = Init;
    graph::IVideoWindow* pVW = nullptr;
    int windowShown = 0;
    graph::IBasicVideo* pBV = nullptr;
    int volume = 0;
    graph::FilterGraph* pGB = nullptr;
    graph::IMediaControl* pMC = nullptr;
    graph::IMediaEventEx* pME = nullptr;
    graph::IBasicAudio* pBA = nullptr;
    graph::IMediaSeeking* pMS = nullptr;
    PreviewWindow* m_hWnd = nullptr;
    bool windowCreated = false;
    std::uint32_t lastActivityTime = 0;
    int cursorCount = 0;
    QRect savedRect;
    REFERENCE_TIME currentPosition = 0;
    REFERENCE_TIME stopPosition = 0;
    int mainShown = 1;
    float zoom = 1.0f;
    PlayerMode playerMode;

    // Builds the graph of fileName and leaves it stopped; on failure the player is closed.
    bool OpenFile();
    // Plays a graph built elsewhere (the caller keeps it and releases it after Close).
    HRESULT OpenGraph(graph::FilterGraph* graph);
    // Makes a stopped player ready to start at once, paused: its first samples decoded and
    // its sound device open. A player started while its sound device still opens plays its
    // sound late, by as long as the device takes, against a picture that keeps time by it.
    void Cue();
    void Play();
    void Pause();
    void Stop();
    void Close();
    HRESULT SkipSeconds(int seconds);
    HRESULT SeekTo(REFERENCE_TIME time);
    // Keeps this player's time by the sound of `other` (none when it plays no sound), so that
    // the two stay as far apart as they were put, whatever holds up the sound.
    void KeepTimeWith(const CVcdCore& other);

    // The preview window's part.
    HRESULT InitVideoWindow(int multiplier, int divider);
    void ToggleFullScreen();
    bool EnterFullScreen();
    bool LeaveFullScreen();
    void ToggleOnTop();
    void SetCursorVisible(bool visible);
    // Moves the window where it hides none of `others` (frame rectangles), or where the screen
    // leaves no such place, fewest of `controls`.
    void MoveClearOf(const std::vector<QRect>& others, const std::vector<QRect>& controls);

    // Called by the preview window.
    void HandleGraphEvents();
    void PollPosition();
    void HideIdleCursor();
    // Titles the window in the loaded language: the file and whether it is paused, or the
    // preview's name. Also called after a switch of language.
    void UpdateCaption();

    static constexpr int kPollTimer = 2;
    static constexpr int kCursorTimer = 1;
    QTimer* Timer(int id) const;

  private:
    HRESULT QueryInterfaces();
    HRESULT AttachGraphToWindow(bool decideNoVideo);
    void CreatePreviewWindow();
    void DestroyPreviewWindow();
    void StartPolling(int periodMs);
    void ReleaseInterfaces();

    std::unique_ptr<graph::FilterGraph> ownedGraph_; // the graph OpenFile built
    QTimer pollTimer_;
    QTimer cursorTimer_;
};

// Milliseconds of a monotonic clock, wrapping like the system's tick count.
std::uint32_t TickCount();

} // namespace preview
