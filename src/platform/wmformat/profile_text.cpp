#include "profile_text.h"

#include "platform/core/guid.h"
#include "platform/wmformat/status.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <charconv>
#include <functional>
#include <map>
#include <string>

namespace wmformat {

namespace {

// An element's attributes by lower-cased name.
class Attributes {
  public:
    explicit Attributes(const QXmlStreamAttributes& attributes) {
        for (const QXmlStreamAttribute& attribute : attributes)
            values_[attribute.name().toString().toLower().toStdString()] =
                attribute.value().toString().toStdString();
    }

    // `name` in lower case.
    const std::string* Find(std::string_view name) const {
        const auto found = values_.find(name);
        return found == values_.end() ? nullptr : &found->second;
    }

    // A whole decimal number in the range of `T`.
    template <typename T> bool Number(std::string_view name, T& value) const {
        const std::string* text = Find(name);
        if (!text)
            return false;
        const char* end = text->data() + text->size();
        const auto [stop, error] = std::from_chars(text->data(), end, value);
        return error == std::errc() && stop == end;
    }

    bool Flag(std::string_view name, bool& value) const {
        int number = 0;
        if (!Number(name, number) || (number != 0 && number != 1))
            return false;
        value = number == 1;
        return true;
    }

    bool Guid(std::string_view name, GUID& value) const {
        const std::string* text = Find(name);
        const auto guid = text ? core::GuidFromString(*text) : std::nullopt;
        if (guid)
            value = *guid;
        return guid.has_value();
    }

    bool Text(std::string_view name, std::string& value) const {
        const std::string* text = Find(name);
        if (text)
            value = *text;
        return text != nullptr;
    }

    // A number, or else a four-letter code.
    bool FourCc(std::string_view name, std::uint32_t& value) const {
        if (Number(name, value))
            return true;
        const std::string* text = Find(name);
        if (!text || text->size() != 4)
            return false;
        value = MakeFourCc(*text);
        return true;
    }

    // Pairs of hex digits; nothing when the attribute is absent.
    bool Bytes(std::string_view name, std::vector<std::uint8_t>& bytes) const {
        bytes.clear();
        const std::string* text = Find(name);
        if (!text)
            return true;
        if (text->size() % 2 != 0)
            return false;
        for (std::size_t at = 0; at < text->size(); at += 2) {
            std::uint8_t byte = 0;
            const char* end = text->data() + at + 2;
            const auto [stop, error] = std::from_chars(text->data() + at, end, byte, 16);
            if (error != std::errc() || stop != end)
                return false;
            bytes.push_back(byte);
        }
        return bytes.size() <= 0xFFFF;
    }

  private:
    std::map<std::string, std::string, std::less<>> values_;
};

class ProfileReader {
  public:
    explicit ProfileReader(std::string_view text)
        : xml_(QByteArray(text.data(), static_cast<qsizetype>(text.size()))) {}

    std::unique_ptr<Profile> Read() {
        std::unique_ptr<Profile> profile;
        if (!xml_.readNextStartElement() || !Is("profile") || !ReadProfile(profile))
            return nullptr;
        while (!xml_.atEnd())
            xml_.readNext();
        return xml_.hasError() ? nullptr : std::move(profile);
    }

  private:
    bool Is(const char* name) const {
        return xml_.name().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    }

    bool ReadProfile(std::unique_ptr<Profile>& profile) {
        const Attributes attributes(xml_.attributes());
        std::uint32_t version = 0;
        std::string name;
        if (!attributes.Number("version", version) || !IsProfileVersion(version) ||
            !attributes.Text("name", name))
            return false;
        profile = std::make_unique<Profile>(version);
        profile->SetName(name);
        while (xml_.readNextStartElement()) {
            if (!Is("streamconfig"))
                xml_.skipCurrentElement();
            else if (!ReadStream(*profile))
                return false;
        }
        return !xml_.hasError();
    }

    bool ReadStream(Profile& profile) {
        const Attributes attributes(xml_.attributes());
        GUID majorType;
        std::uint16_t number = 0;
        std::uint32_t bitrate = 0;
        std::string name;
        std::string connectionName;
        std::unique_ptr<StreamConfig> stream;
        if (!attributes.Guid("majortype", majorType) ||
            !attributes.Number("streamnumber", number) || !attributes.Number("bitrate", bitrate) ||
            !attributes.Text("streamname", name) || !attributes.Text("inputname", connectionName) ||
            FAILED(profile.CreateNewStream(majorType, stream)) ||
            FAILED(stream->SetStreamNumber(number)) || FAILED(stream->SetStreamName(name)) ||
            FAILED(stream->SetConnectionName(connectionName)) ||
            FAILED(stream->SetBitrate(bitrate)))
            return false;
        while (xml_.readNextStartElement()) {
            if (Is("wmmediatype")) {
                WM_MEDIA_TYPE type;
                type.majortype = majorType;
                if (!ReadMediaType(type) || FAILED(stream->Props().SetMediaType(type)))
                    return false;
            } else if (Is("videomediaprops")) {
                if (!ReadVideoProps(stream->VideoProps()))
                    return false;
            } else {
                xml_.skipCurrentElement();
            }
        }
        return !xml_.hasError() && SUCCEEDED(profile.AddStream(*stream));
    }

    bool ReadVideoProps(VideoMediaProps* props) {
        const Attributes attributes(xml_.attributes());
        REFERENCE_TIME spacing = 0;
        std::uint32_t quality = 0;
        xml_.skipCurrentElement();
        return props && attributes.Number("maxkeyframespacing", spacing) &&
               attributes.Number("quality", quality) &&
               SUCCEEDED(props->SetMaxKeyFrameSpacing(spacing)) &&
               SUCCEEDED(props->SetQuality(quality));
    }

    bool ReadMediaType(WM_MEDIA_TYPE& type) {
        const Attributes attributes(xml_.attributes());
        if (!attributes.Guid("subtype", type.subtype) ||
            !attributes.Flag("bfixedsizesamples", type.bFixedSizeSamples) ||
            !attributes.Flag("btemporalcompression", type.bTemporalCompression) ||
            !attributes.Number("lsamplesize", type.lSampleSize))
            return false;
        int formats = 0;
        while (xml_.readNextStartElement()) {
            if (Is("waveformatex")) {
                if (!ReadWaveFormat(type))
                    return false;
                ++formats;
            } else if (Is("videoinfoheader")) {
                if (!ReadVideoInfo(type))
                    return false;
                ++formats;
            } else {
                xml_.skipCurrentElement();
            }
        }
        return !xml_.hasError() && formats == 1;
    }

    bool ReadWaveFormat(WM_MEDIA_TYPE& type) {
        const Attributes attributes(xml_.attributes());
        xml_.skipCurrentElement();
        WAVEFORMATEX wave;
        if (!attributes.Number("wformattag", wave.wFormatTag) ||
            !attributes.Number("nchannels", wave.nChannels) ||
            !attributes.Number("nsamplespersec", wave.nSamplesPerSec) ||
            !attributes.Number("navgbytespersec", wave.nAvgBytesPerSec) ||
            !attributes.Number("nblockalign", wave.nBlockAlign) ||
            !attributes.Number("wbitspersample", wave.wBitsPerSample) ||
            !attributes.Bytes("codecdata", type.codecData))
            return false;
        wave.cbSize = static_cast<std::uint16_t>(type.codecData.size());
        type.formattype = FORMAT_WaveFormatEx;
        type.cbFormat = kWaveFormatExBytes + wave.cbSize;
        type.format = wave;
        return true;
    }

    bool ReadRect(RECT& rect) {
        const Attributes attributes(xml_.attributes());
        xml_.skipCurrentElement();
        return attributes.Number("left", rect.left) && attributes.Number("top", rect.top) &&
               attributes.Number("right", rect.right) && attributes.Number("bottom", rect.bottom);
    }

    bool ReadBitmapInfo(BITMAPINFOHEADER& bitmap) {
        const Attributes attributes(xml_.attributes());
        xml_.skipCurrentElement();
        bitmap.biSize = sizeof(BITMAPINFOHEADER);
        return attributes.Number("biwidth", bitmap.biWidth) &&
               attributes.Number("biheight", bitmap.biHeight) &&
               attributes.Number("biplanes", bitmap.biPlanes) &&
               attributes.Number("bibitcount", bitmap.biBitCount) &&
               attributes.FourCc("bicompression", bitmap.biCompression) &&
               attributes.Number("bisizeimage", bitmap.biSizeImage) &&
               attributes.Number("bixpelspermeter", bitmap.biXPelsPerMeter) &&
               attributes.Number("biypelspermeter", bitmap.biYPelsPerMeter) &&
               attributes.Number("biclrused", bitmap.biClrUsed) &&
               attributes.Number("biclrimportant", bitmap.biClrImportant);
    }

    bool ReadVideoInfo(WM_MEDIA_TYPE& type) {
        const Attributes attributes(xml_.attributes());
        VIDEOINFOHEADER info;
        if (!attributes.Number("dwbitrate", info.dwBitRate) ||
            !attributes.Number("dwbiterrorrate", info.dwBitErrorRate) ||
            !attributes.Number("avgtimeperframe", info.AvgTimePerFrame))
            return false;
        bool haveBitmap = false;
        while (xml_.readNextStartElement()) {
            bool read = true;
            if (Is("rcsource"))
                read = ReadRect(info.rcSource);
            else if (Is("rctarget"))
                read = ReadRect(info.rcTarget);
            else if (Is("bitmapinfoheader"))
                read = haveBitmap = ReadBitmapInfo(info.bmiHeader);
            else
                xml_.skipCurrentElement();
            if (!read)
                return false;
        }
        type.formattype = FORMAT_VideoInfo;
        type.cbFormat = kVideoInfoHeaderBytes;
        type.format = info;
        type.codecData.clear();
        return !xml_.hasError() && haveBitmap;
    }

    QXmlStreamReader xml_;
};

} // namespace

HRESULT ReadProfileText(std::string_view text, std::unique_ptr<Profile>& profile) {
    profile = ProfileReader(text).Read();
    return profile ? S_OK : NS_E_INVALIDPROFILE;
}

} // namespace wmformat
