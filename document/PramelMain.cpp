// Entry point of the editor.
#include <windows.h>

#include <memory>

#include "document/CNoTemplateHooks.h"
#include "document/CPramelApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    CPramelApp app(std::make_unique<CNoTemplateHooks>());
    return app.Start(showCommand);
}
