#pragma once
// The settings a user gives a picture encoder with the options dialog's "Settings" button.
// The encoder keeps them as a codec keeps its configuration: across conversions and runs,
// for every compressor object made of it afterwards. They are its options as one text
// (graph::FilterOptions::State), stored under the encoder's FFmpeg name.
#include <QString>
#include <QStringList>

#include <string>

namespace options {

std::string StoredCodecState(const std::string& encoderName);
void StoreCodecState(const std::string& encoderName, const std::string& state);

// Which configurable codec serves the compressor chosen under `selected`: the first whose
// description equals it ignoring case; failing that, when both name a DivX codec with a
// version number, the first such DivX codec (a later equal description still wins). -1 when
// none does.
int PickCodecRow(const QStringList& descriptions, const QString& selected);

} // namespace options
