#pragma once

// Whether the desktop blends a window's translucent pixels with what lies behind it. Without
// that, transparent pixels show as black, so a see-through window has to be cut to its shape.
class CompositorReading {
public:
    virtual ~CompositorReading() = default;
    virtual bool blendsTranslucency() = 0;
};

// Asks Qt's own display connection. On X11 only a running compositing manager blends, and it
// owns the selection _NET_WM_CM_S<screen>; the answer can change while Dewbell runs, so every
// call asks the server again (two short round trips). Every other platform Qt draws on blends
// by itself (Wayland always composites).
class DesktopCompositorReading : public CompositorReading {
public:
    bool blendsTranslucency() override;
};
