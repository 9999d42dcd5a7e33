#pragma once

namespace merivane {

// The primary screen's size, in twips (1/1440 inch) as the program measures it.
class Screen {
  public:
    virtual ~Screen() = default;
    virtual int WidthTwips() const = 0;
    virtual int HeightTwips() const = 0;
    virtual int TwipsPerPixel() const = 0;
};

inline int ScreenWidthPixels(const Screen& screen) {
    return screen.WidthTwips() / screen.TwipsPerPixel();
}

}  // namespace merivane
