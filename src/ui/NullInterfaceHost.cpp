// The interface host that shows nothing.
#include "ui/NullInterfaceHost.h"

void TNullInterfaceHost::GetPictureSize(int& width, int& height, const std::string& picture) {
    const TPoint size = pictureSize_(picture);
    width = size.X;
    height = size.Y;
}

void TNullInterfaceHost::GetScreenSize(int& width, int& height) {
    width = ScreenWidth;
    height = ScreenHeight;
}
