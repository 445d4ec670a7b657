#pragma once
#include <string>

#include "app/FormStorage.h"
#include "catalogue/ProgramsView.h"
#include "common/Controls.h"
#include "log/LogView.h"
#include "runner/JobView.h"

namespace quillet {

enum class ViewStyle { LargeIcons, SmallIcons, List, Report };
enum class Pane { ToolBar, Log, StatusBar };

// The panes, the toolbar's captions and the list's style.
class PanesView {
public:
    virtual ~PanesView() = default;
    virtual void ShowPane(Pane pane, bool visible) = 0;
    // Captions on, tooltips off; or captions off, 28 x 27 buttons, tooltips on.
    virtual void SetTextLabels(bool on) = 0;
    virtual void SetViewStyle(ViewStyle style) = 0;
};

// The frame as the settings and the notification-area icon see it.
class FrameView {
public:
    virtual ~FrameView() = default;
    // Sizes the settings file keeps, in pixels.
    enum class Size { LogHeight, TimeWidth, CommentWidth, NameWidth, CmdLineWidth, SubKeyWidth, PlatformWidth,
                      PublisherWidth, VersionWidth, InstalledWidth, SizeWidth };
    virtual int GetSize(Size size) const = 0;
    virtual void SetSize(Size size, int pixels) = 0;
    // The application's taskbar button (hidden while in the notification area).
    virtual void ShowApplication(bool shown) = 0;
    // Restores a minimised application and brings its window to the front.
    virtual void BringToFront() = 0;
};

// The main window on screen: the union of what each part needs of it. The
// shell implements this one class; each part sees only its own interfaces.
class MainView : public ProgramsView,
                 public LogView,
                 public CommandView,
                 public StatusPanels,
                 public JobView,
                 public PanesView,
                 public FrameView,
                 public PlacementWindow {};

}  // namespace quillet
