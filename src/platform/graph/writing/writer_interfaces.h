#pragma once
// The control interfaces of the filters that write files, in the shape of the media
// framework this layer stands in for. Ask a filter for them with QueryFilterInterface; call
// them on the user-interface thread while the graph is stopped.
// The filter that offers an interface owns it.
#include "platform/core/status.h"

#include <string>

namespace graph {

// How a multiplexer lays its streams out in the file.
constexpr long INTERLEAVE_NONE = 0;          // each packet as it comes
constexpr long INTERLEAVE_CAPTURE = 1;       // as it comes, ordered by time in a short window
constexpr long INTERLEAVE_FULL = 2;          // streams kept in step, so the file interleaves
constexpr long INTERLEAVE_NONE_BUFFERED = 3; // as INTERLEAVE_NONE

class IConfigInterleaving {
  public:
    // E_INVALIDARG for an unknown mode; VFW_E_NOT_STOPPED while the graph runs.
    virtual HRESULT put_Mode(long mode) = 0;
    virtual HRESULT get_Mode(long* mode) const = 0;

  protected:
    ~IConfigInterleaving() = default;
};

// File modes.
constexpr unsigned long AM_FILE_OVERWRITE = 0x1;

class IFileSinkFilter2 {
  public:
    // The file written at the next start. E_INVALIDARG for an empty name.
    virtual HRESULT SetFileName(const std::string& path) = 0;
    virtual HRESULT GetCurFile(std::string* path) const = 0;
    // With AM_FILE_OVERWRITE an existing file is replaced once the new one is written; without
    // it the start fails with E_FILE_EXISTS and the file is left alone.
    virtual HRESULT SetMode(unsigned long flags) = 0;
    virtual HRESULT GetMode(unsigned long* flags) const = 0;
    // The run failed elsewhere in the graph: what was written is deleted now, and a file it
    // was to replace stays as it was.
    virtual void DiscardFile() = 0;

  protected:
    ~IFileSinkFilter2() = default;
};

} // namespace graph
