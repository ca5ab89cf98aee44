#pragma once
// The start of a file graph: no input pin and one byte-stream output pin. It opens the file
// for reading; the demultiplexer connected to it reads through the same I/O context.
// Owned by its graph, on the user-interface thread; the connected demultiplexer reads its
// file on its own threads.
#include "platform/graph/filter.h"

extern "C" {
#include <libavformat/avio.h>
}

#include <string>

namespace graph {

class FileSource final : public BaseFilter {
  public:
    // E_FILE_NOT_FOUND and similar when the file cannot be opened.
    static HRESULT Create(const std::string& path, std::unique_ptr<FileSource>* out);
    ~FileSource() override;

    const std::string& Path() const { return path_; }
    // The open file. Used by the connected demultiplexer on its threads; the source itself
    // never touches it after opening.
    AVIOContext* Io() const { return io_; }

  private:
    FileSource(std::string path, AVIOContext* io);
    std::string path_;
    AVIOContext* io_;
};

} // namespace graph
