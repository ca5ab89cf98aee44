#include "options/codec_settings.h"

#include "platform/settings/store.h"

#include <QRegularExpression>

namespace options {

namespace {

constexpr const char* kSection = "CodecSettings";

// A DivX codec's name with a version in it ("DivX 5.0.2 Codec").
bool NamesVersionedDivx(const QString& name) {
    static const QRegularExpression version(QStringLiteral("[0-9][0-9.]*"));
    return name.toLower().contains(QStringLiteral("divx")) && name.contains(version);
}

} // namespace

std::string StoredCodecState(const std::string& encoderName) {
    return settings::Profile()
        .GetProfileString(kSection, QString::fromStdString(encoderName), QString())
        .toStdString();
}

void StoreCodecState(const std::string& encoderName, const std::string& state) {
    settings::Profile().WriteProfileString(kSection, QString::fromStdString(encoderName),
                                           QString::fromStdString(state));
}

int PickCodecRow(const QStringList& descriptions, const QString& selected) {
    const bool divxSelected = NamesVersionedDivx(selected);
    int pick = -1;
    for (int row = 0; row < descriptions.size(); ++row) {
        if (descriptions[row].compare(selected, Qt::CaseInsensitive) == 0)
            return row;
        if (pick < 0 && divxSelected && NamesVersionedDivx(descriptions[row]))
            pick = row;
    }
    return pick;
}

} // namespace options
