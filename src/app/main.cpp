#include "app/vellum_app.h"

int main(int argc, char** argv) {
    CVellumApp app(argc, argv);
    return app.Run();
}
