// Entry point of the editor.
#include <windows.h>

#include <memory>

#include "document/CPramelApp.h"
#include "templates/CTemplateHooks.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    CPramelApp app(std::make_unique<CTemplateHooks>());
    return app.Start(showCommand);
}
