// quillet-convert: writes a video with its sound moved onto its picture, without windows.
#include "cli/convert_job.h"
#include "cli/convert_options.h"
#include "cli/device_names.h"
#include "cli/stderr_prompts.h"
#include "platform/graph/library_log.h"
#include "platform/settings/store.h"

#include <QApplication>
#include <QElapsedTimer>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv) {
    QElapsedTimer wall;
    wall.start();
    // The shared code makes widgets (a probe renders the picture); no display is needed. The
    // minimal platform loads no fonts: the offscreen one reads the whole font configuration at
    // exit only to release it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "minimal");
    QApplication app(argc, argv);
    // Qt hands the user's locale to the C library; numbers must keep their decimal point.
    std::setlocale(LC_NUMERIC, "C");

    cli::ConvertOptions options;
    QString error;
    if (!cli::ParseArguments(app.arguments().mid(1), options, error)) {
        cli::PrintMessage(error + " See quillet-convert --help.");
        return 2;
    }
    if (options.help) {
        std::fputs(cli::HelpText().toUtf8().constData(), stdout);
        return 0;
    }
    if (options.list) {
        std::fputs(cli::DeviceListing().toUtf8().constData(), stdout);
        return 0;
    }
    graph::ShowLibraryLog(options.verbose);
    // The main program's settings: the same file, whatever this program is called.
    settings::SetProfile(
        std::make_unique<settings::Store>(settings::DefaultRoot(), "Morvane", "quillet"));
    cli::RunReport report;
    report.input = options.input;
    report.output = options.output;
    report.separateSound = options.separateSound;
    const int status = cli::RunConversion(options, report);
    if (options.report.isEmpty())
        return status;
    report.wallSeconds = static_cast<double>(wall.elapsed()) / 1000;
    report.exitStatus = status;
    if (const QString failure = cli::WriteReport(options.report, report); !failure.isEmpty()) {
        cli::PrintMessage(failure);
        return status == 0 ? 1 : status;
    }
    return status;
}
