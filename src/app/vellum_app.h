#pragma once
// The application object: sets the settings key word, loads the language, then runs the
// main window modally; when the window ends, the program ends.
#include <QApplication>

class CVellumApp : public QApplication {
    Q_OBJECT
  public:
    CVellumApp(int& argc, char** argv);

    // 1 while the left button holds one of the seek bars; playback leaves them alone then.
    int sliderDragging = 0;

    // Start-up: settings store, language, main window. Returns the exit code.
    int Run();
};

// The running application object, or nullptr when the application is not a CVellumApp.
CVellumApp* App();
// The application's sliderDragging flag (a flag of its own when there is no CVellumApp).
int* SliderDraggingFlag();
