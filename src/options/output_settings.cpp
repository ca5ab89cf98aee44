#include "options/output_settings.h"

#include "platform/graph/writing/device_enumerator.h"
#include "platform/settings/store.h"
#include "sync/time_text.h"

#include <QDir>
#include <QStandardPaths>


void ApplyFrameRateIndex(int storedIndex, const QString& customRate, int& index, double& rate) {
    index = storedIndex;
    switch (storedIndex) {
    case 0:
    case 1:
        rate = 23.976;
        break;
    case 2:
        rate = 24.0;
        break;
    case 3:
        rate = 25.0;
        break;
    case 4:
        rate = 29.97;
        break;
    case 5:
        rate = 30.0;
        break;
    case 6:
        rate = avsync::DecimalTextToDouble(customRate.toStdString());
        break;
    default:
        index = 1;
        rate = 23.976;
        break;
    }
}

QString DefaultOutputName(QString& failureMessage) {
    failureMessage.clear();
    const QString fallback = QDir::homePath() + "/output.wmv";
    if (QStandardPaths::standardLocations(QStandardPaths::MoviesLocation).isEmpty()) {
        failureMessage = QStringLiteral("Can not get SHGetFolderPathA!");
        return fallback;
    }
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (videos.isEmpty() || !QDir().mkpath(videos)) {
        failureMessage = QStringLiteral("Can not get My Video directory!");
        return fallback;
    }
    return videos + "/output.wmv";
}

QString StoredMuxerExtensions(const settings::Store& store) {
    const graph::DeviceEntry* muxer = graph::FindDeviceByClassId(
        store.GetProfileString("DirectShowFilters", "CurrentMuxerCLSID", "").toStdString());
    return muxer ? QString::fromStdString(muxer->extensions) : QString();
}

void ReadFrameRateAndBitrates(const settings::Store& store, OutputSettings& out) {
    ApplyFrameRateIndex(store.GetProfileInt("Settings", "OutputFrameRateIndex", 0),
                        store.GetProfileString("Settings", "OutputFrameRate", "23.976"),
                        out.frameRateIndex, out.outputFrameRate);
    out.videoBitrate = store.GetProfileInt("Settings", "n_video_bitrate", 798720);
    out.audioBitrate = store.GetProfileInt("Settings", "n_audio_bitrate", 128000);
    out.useFileProfile = store.GetProfileInt("Settings", "b_file_profile", 0);
    out.keepPitch = store.GetProfileInt("Settings", kKeepPitchValue, 0) != 0 ? 1 : 0;
}
