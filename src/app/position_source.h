#pragma once
// What the main window needs to know of the players: whether they exist, where the picture
// player stands, and how far the composed preview has played.
#include "platform/core/reftime.h"

#include <optional>

struct PlayerProgress {
    REFERENCE_TIME position = 0;
    REFERENCE_TIME duration = 0;
};

class PositionSource {
  public:
    virtual ~PositionSource() = default;
    // The picture player's last polled position; nothing when no video is open.
    virtual std::optional<REFERENCE_TIME> VideoPosition() const = 0;
    // The composed preview's position and length; nothing while it does not run.
    virtual std::optional<PlayerProgress> ResultProgress() const = 0;
};
