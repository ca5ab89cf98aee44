#pragma once
// The settings of the filters that have them (encoders and multiplexers): the FFmpeg options
// of what they wrap, which a settings page walks and changes with the av_opt_* calls, and
// their state as one text that can be kept and set back. This stands in for a filter's
// property pages and for a codec's configuration state.
//
// Threads: the user-interface thread reads and changes the options while the filter is
// stopped. A run copies them when it starts and never touches them afterwards, so the filter
// keeps its settings from run to run and a change applies from the next start.
//
//   if (auto* pages = graph::QueryFilterInterface<graph::ISpecifyPropertyPages>(filter)) {
//       graph::FilterOptions& options = pages->Options();
//       av_opt_set(options.Object(), "b", "2M", AV_OPT_SEARCH_CHILDREN);
//       const std::string state = options.State(); // "b=2000000"
//       options.SetState(state);
//   }
// Each filter owns its options.
#include "platform/core/status.h"

#include <memory>
#include <string>
#include <string_view>

struct AVCodec;
struct AVOutputFormat;

namespace graph {

class FilterOptions {
  public:
    // An encoder's options: an AVCodecContext made for the codec, private options included.
    static std::unique_ptr<FilterOptions> ForEncoder(const AVCodec* codec);
    // A multiplexer's options: an AVFormatContext made for the format, private options
    // included.
    static std::unique_ptr<FilterOptions> ForMultiplexer(const AVOutputFormat* format);
    ~FilterOptions();
    FilterOptions(const FilterOptions&) = delete;
    FilterOptions& operator=(const FilterOptions&) = delete;

    // The object for the av_opt_* calls: an AVCodecContext* for an encoder, an
    // AVFormatContext* for a multiplexer; the same object for the filter's whole life. Pass
    // AV_OPT_SEARCH_CHILDREN to reach the private options, or walk them with
    // av_opt_child_next.
    void* Object() const { return object_; }
    // The AV_OPT_FLAG_* bits an option has when it belongs on the settings page (an
    // encoder's: encoding and its media kind; a multiplexer's: encoding).
    int Flags() const { return flags_; }

    // Every option on the page that differs from the encoder's or muxer's own default, as
    // "name=value" pairs joined by ':' (separators inside values escaped with '\'); "" when
    // all are at their defaults.
    std::string State() const;
    // The defaults, then the options the text names. E_INVALIDARG, with the options left
    // as they were, when it names an option that does not exist or gives one a value it
    // cannot take.
    HRESULT SetState(std::string_view state);
    // Gives an object of the same kind (a run's own context) these option values.
    HRESULT CopyTo(void* object) const;

  private:
    enum class Kind { Encoder, Multiplexer };
    FilterOptions(Kind kind, const void* what, void* object, int flags);
    void* MakeObject() const;
    void FreeObject(void* object) const;

    Kind kind_;
    const void* what_; // the AVCodec or AVOutputFormat
    void* object_;
    int flags_;
};

// What a filter with settings offers; filters without settings do not offer it.
class ISpecifyPropertyPages {
  public:
    virtual FilterOptions& Options() = 0;

  protected:
    ~ISpecifyPropertyPages() = default;
};

} // namespace graph
