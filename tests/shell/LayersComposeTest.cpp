// The public headers of the libraries the shell composes, together in one translation unit: a name
// two libraries both define, or a header reaching into a library it may not use, stops this file
// from compiling. The test itself only checks that the pieces can be named side by side.
#include "forms/Events.h"
#include "forms/Graphics.h"
#include "forms/LiveCounts.h"
#include "forms/MessageBoxSeam.h"
#include "forms/ShortCut.h"
#include "forms/TApplication.h"
#include "forms/TButton.h"
#include "forms/TCheckBox.h"
#include "forms/TCommandTable.h"
#include "forms/TComponent.h"
#include "forms/TControl.h"
#include "forms/TCustomControl.h"
#include "forms/TForm.h"
#include "forms/TFrame.h"
#include "forms/TImage.h"
#include "forms/TImageList.h"
#include "forms/TLabel.h"
#include "forms/TMenu.h"
#include "forms/TMenuItem.h"
#include "forms/TOpenDialog.h"
#include "forms/TPopupMenu.h"
#include "forms/TScreen.h"
#include "forms/TShape.h"
#include "forms/TSpeedButton.h"
#include "forms/TTimer.h"
#include "forms/TTrackBar.h"
#include "forms/TWinControl.h"
#include "util/Msg.h"
#include "util/ShellOpen.h"
#include "util/TFolderDialog.h"
#include "util/TMessageDialog.h"
#include "util/xFileUtil.h"
#include "util/xMenu.h"
#include "util/xUtils.h"
#include "engine/EDirectShowException.h"
#include "engine/GraphEventTypes.h"
#include "engine/GraphInterfaces.h"
#include "engine/GraphUtil.h"
#include "engine/PlatformObjects.h"
#include "engine/TFilterGraph.h"
#include "engine/TFilterList.h"
#include "engine/TGraphNotifyWindow.h"
#include "engine/TPinList.h"
#include "skin/SkinInterfaces.h"
#include "dvdnav/OwnDvdGraphBuilder.h"

#include <gtest/gtest.h>

TEST(LibrariesCompose, FormsUtilEngineSkinAndTheDvdFactoryInOneUnit) {
    vireon::TForm* form = nullptr;
    vireon::TFilterGraph* graph = nullptr;
    Microsoft::WRL::ComPtr<vireon::skin::ISkin> skin;
    HRESULT (*createOwnBuilder)(IDvdGraphBuilder**) = &dvdnav::CreateOwnDvdGraphBuilder;
    EXPECT_EQ(nullptr, form);
    EXPECT_EQ(nullptr, graph);
    EXPECT_FALSE(skin);
    EXPECT_NE(nullptr, createOwnBuilder);
}
