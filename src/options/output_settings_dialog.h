#pragma once
// "Output options": the output format and file, picture size and frame rate, resize mode,
// compressors or bit rates, the custom multiplexer and the transport's skip steps. The owner
// fills the members, runs the dialog and on OK takes them back; OK also stores them in the
// settings and replaces the compressor objects. Cancel changes and stores nothing.
#include "options/output_settings.h"
#include "platform/ui/dialog.h"
#include "sync/sync_state.h"

#include <QString>

#include <memory>
#include <string>

class QComboBox;

namespace graph {
class BaseFilter;
}
namespace options {
struct CompressorKind;
}

class CDialogOutputSettings : public ui::Dialog {
    Q_OBJECT
  public:
    explicit CDialogOutputSettings(QWidget* parent = nullptr);
    ~CDialogOutputSettings() override;

    QString outputFileName;
    int outputWidth = 0;
    int outputHeight = 0;
    int useVideoCompressor = 0;
    int useAudioCompressor = 0;
    int nativeWidth = 800; // of the opened video; read only
    int nativeHeight = 600;
    int videoCount = 0; // opened videos; 0 when none is open
    double sourceFrameRate = 23.976;
    double outputFrameRate = 23.976;
    int frameRateIndex = 1;
    int stretchMode = 2; // 2 preserve aspect ratio, 0 stretch
    int videoBitrate = 389120;
    int audioBitrate = 128000;
    int outputFormat = 1; // 0 AVI, 1 WMV, 2 custom multiplexer
    int useFileProfile = 0;
    int skipForwardSeconds = 20;
    int skipBackwardSeconds = 10;
    float audioSkipForwardSeconds = 0.3f;
    float audioSkipBackwardSeconds = 0.3f;
    int copySourcePicture = 0; // 1: the picture is copied, not coded again
    int keepPitch = 0;         // 1: sound played faster or slower keeps its pitch
    // The open video, for the conditions of copying its picture.
    std::string videoPath;
    // The program's compressor objects; OK makes new ones of the chosen compressors.
    std::shared_ptr<graph::BaseFilter> videoCompressor;
    std::shared_ptr<graph::BaseFilter> audioCompressor;

    int exec() override;

  protected:
    void OnCommand(int id) override;

  private:
    void CreateControls();
    QComboBox* Combo(int id) const;
    // What opening does, before the loop runs.
    void FillResolutionRows();
    void FillFrameRateRows();
    void FillCompressorList(int id, const options::CompressorKind& kind,
                            const QString& uncompressed);
    // The picture the controls ask for, as far as copying it depends on.
    OutputSettings ChosenPicture(int format, double typedRate) const;
    void FillMuxerLists();
    void SelectMuxer(const QString& name);

    void OnFormatChanged();
    void ShowFormatControls();
    void OnResolutionChanged();
    void OnFrameRateChanged();
    void OnMuxerChanged(int fromId, int toId);
    // The output name with the extension of the chosen format (and custom muxer).
    void ApplyExtension(const QString& path);
    void OnBrowse();
    void OnDefault();
    void OnCodecSettings();
    void OnOk();
    // The four skip steps, checked; false (having said why) when one is not allowed.
    bool ReadSkipSteps(int* forward, int* backward, float* audioForward, float* audioBackward);
    void StoreMuxerChoice();
};
