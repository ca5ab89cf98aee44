#pragma once
// The control interfaces a filter graph offers its users, in the shape of the media framework
// this layer stands in for. FilterGraph implements all of them; QueryInterface hands them out.
// Pointers stay valid as long as the graph lives. Call them on the user-interface thread.
#include "platform/core/reftime.h"
#include "platform/core/status.h"

#include <cstdint>

class QObject;
class QWidget;

namespace graph {

// Filter states as reported by GetState.
constexpr long State_Stopped = 0;
constexpr long State_Paused = 1;
constexpr long State_Running = 2;

class IMediaControl {
  public:
    virtual HRESULT Run() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT GetState(long timeoutMs, long* state) = 0;

  protected:
    ~IMediaControl() = default;
};

enum class TimeFormat { None, Frame, Sample, Field, Byte, MediaTime };

// Seeking flags.
constexpr unsigned AM_SEEKING_NoPositioning = 0x0;
constexpr unsigned AM_SEEKING_AbsolutePositioning = 0x1;
constexpr unsigned AM_SEEKING_RelativePositioning = 0x2;
constexpr unsigned AM_SEEKING_IncrementalPositioning = 0x3;
constexpr unsigned AM_SEEKING_PositioningBitsMask = 0x3;

class IMediaSeeking {
  public:
    // S_OK for the media-time format of a seekable graph, S_FALSE otherwise.
    virtual HRESULT IsFormatSupported(TimeFormat format) = 0;
    virtual HRESULT GetTimeFormat(TimeFormat* format) = 0;
    virtual HRESULT SetTimeFormat(TimeFormat format) = 0;
    virtual HRESULT GetDuration(REFERENCE_TIME* duration) = 0;
    virtual HRESULT GetStopPosition(REFERENCE_TIME* stop) = 0;
    virtual HRESULT GetCurrentPosition(REFERENCE_TIME* current) = 0;
    // Either pointer may be null when its flags say no positioning. The stop position is
    // always the end of the media: stop positioning gives E_NOTIMPL.
    virtual HRESULT SetPositions(REFERENCE_TIME* current, unsigned currentFlags,
                                 REFERENCE_TIME* stop, unsigned stopFlags) = 0;
    virtual HRESULT SetRate(double rate) = 0;
    virtual HRESULT GetRate(double* rate) = 0;

  protected:
    ~IMediaSeeking() = default;
};

class IMediaEventEx {
  public:
    // E_ABORT when no event arrives within the time-out.
    virtual HRESULT GetEvent(long* code, std::intptr_t* param1, std::intptr_t* param2,
                             long timeoutMs) = 0;
    virtual HRESULT FreeEventParams(long code, std::intptr_t param1, std::intptr_t param2) = 0;
    // Every queued event posts `message` (wParam 0, lParam instanceData) to the window.
    virtual HRESULT SetNotifyWindow(QObject* window, unsigned message,
                                    std::intptr_t instanceData) = 0;

  protected:
    ~IMediaEventEx() = default;
};

// Window style bits understood by the video window.
constexpr long WS_CHILD = 0x40000000;
constexpr long WS_VISIBLE = 0x10000000;
constexpr long WS_CAPTION = 0x00C00000;
constexpr long WS_THICKFRAME = 0x00040000;
constexpr long WS_CLIPSIBLINGS = 0x04000000;
constexpr long WS_CLIPCHILDREN = 0x02000000;
constexpr long WS_OVERLAPPEDWINDOW = 0x00CF0000;

constexpr long OATRUE = -1;
constexpr long OAFALSE = 0;

// Every call returns E_NOINTERFACE when the graph has no video renderer.
class IVideoWindow {
  public:
    virtual HRESULT put_Owner(QWidget* owner) = 0;
    virtual HRESULT get_Owner(QWidget** owner) = 0;
    virtual HRESULT put_WindowStyle(long style) = 0;
    virtual HRESULT get_WindowStyle(long* style) = 0;
    // Mouse and keyboard input over the picture goes to this window.
    virtual HRESULT put_MessageDrain(QWidget* drain) = 0;
    virtual HRESULT put_Visible(long visible) = 0;
    virtual HRESULT get_Visible(long* visible) = 0;
    // The picture's rectangle in the owner's client coordinates.
    virtual HRESULT SetWindowPosition(long left, long top, long width, long height) = 0;
    virtual HRESULT GetWindowPosition(long* left, long* top, long* width, long* height) = 0;
    virtual HRESULT NotifyOwnerMessage(QWidget* window, long message, std::intptr_t wParam,
                                       std::intptr_t lParam) = 0;

  protected:
    ~IVideoWindow() = default;
};

// E_NOINTERFACE when the graph has no video renderer.
class IBasicVideo {
  public:
    virtual HRESULT GetVideoSize(long* width, long* height) = 0;
    // Seconds per frame.
    virtual HRESULT get_AvgTimePerFrame(double* seconds) = 0;

  protected:
    ~IBasicVideo() = default;
};

// Volume in hundredths of a decibel: 0 is full volume, -10000 silence. E_NOINTERFACE when
// the graph has no audio renderer.
class IBasicAudio {
  public:
    virtual HRESULT put_Volume(long volume) = 0;
    virtual HRESULT get_Volume(long* volume) = 0;

  protected:
    ~IBasicAudio() = default;
};

} // namespace graph
