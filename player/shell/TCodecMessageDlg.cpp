#include "shell/TCodecMessageDlg.h"

#include "shell/ProductInfo.h"

#include "common/TextConversion.h"
#include "common/Win32Handles.h"
#include "forms/TApplication.h"
#include "util/ShellOpen.h"
#include "util/xFileUtil.h"

#include <memory>

namespace vireon {

namespace {

constexpr int kTextLeft = 80;
constexpr int kTextWidth = 208;

// The site's host name: what lies between "//" and the next "/".
std::string HostOf(const std::string& Address) {
    size_t start = Address.find("//");
    start = start == std::string::npos ? 0 : start + 2;
    return Address.substr(start, Address.find('/', start) - start);
}

RECT Bounds(int Left, int Top, int Width, int Height) {
    return {Left, Top, Left + Width, Top + Height};
}

} // namespace

TCodecMessageDlg::TCodecMessageDlg(TComponent* AOwner, std::string Picture) : TForm(AOwner) {
    SetName("CodecMessageDlg");
    SetCaption("Insufficient decoders");
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    Font().SetName("Tahoma");
    SetClientSize(kClientWidth, kClientHeight);

    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetBounds(8, 32, 0, 0);
    Image1->SetAutoSize(true);
    Image1->SetParent(this);
    CreateLabels();
    bnWeb = new TButton(this, {.Parent = this,
                               .Name = "bnWeb",
                               .Caption = "Go to WEB",
                               .Bounds = Bounds(128, 114, 75, 25),
                               .ModalResult = mrOk,
                               .OnClick = [this](TObject* Sender) { bnWebClick(Sender); }});
    bnClose = new TButton(this, {.Parent = this,
                                 .Name = "bnClose",
                                 .Caption = "Close",
                                 .Bounds = Bounds(213, 114, 75, 25),
                                 .ModalResult = mrCancel,
                                 .Default = true,
                                 .Cancel = true});
    LoadPicture(Picture);
}

void TCodecMessageDlg::CreateLabels() {
    Label1 = new TLabel(this, {.Parent = this,
                               .Name = "Label1",
                               .Caption = "Insufficient decoders to play media.",
                               .Bounds = Bounds(8, 10, kClientWidth - 16, 14),
                               .Bold = true});
    Label2 =
        new TLabel(this, {.Parent = this,
                          .Name = "Label2",
                          .Caption = "Vireon can not play becouse a compatable decoders is not installed on "
                                     "your computer.",
                          .Bounds = Bounds(kTextLeft, 32, kTextWidth, 40),
                          .WordWrap = true});
    Label3 = new TLabel(
        this, {.Parent = this,
               .Name = "Label3",
               .Caption = "Try to download lates codec pack from our site " + HostOf(kProductWebSite),
               .Bounds = Bounds(kTextLeft, 76, kTextWidth, 28),
               .WordWrap = true});
}

std::string TCodecMessageDlg::DefaultPicture() {
    return AppPath() + "skins\\Display.tga";
}

std::string TCodecMessageDlg::CodecPageAddress() {
    return std::string(kProductWebSite) + "?codecs=1";
}

void TCodecMessageDlg::LoadPicture(const std::string& Path) {
    SkinImage = skin::CreateSkinImage();
    try {
        SkinImage->LoadFromFile(WideFromAnsi(Path));
    } catch (const skin::ESkinError&) {
        return; // missing or unreadable: the texts stand alone
    }
    const SIZE size = SkinImage->GetSize();
    if (size.cx <= 0 || size.cy <= 0)
        return;
    const COLORREF face = ColorToRGB(Color());
    const RECT whole{0, 0, size.cx, size.cy};
    SkinImage1 = skin::CreateSkinImage();
    SkinImage1->CreateImage(size.cx, size.cy);
    SkinImage1->FillRect(whole, 0xFF000000u | DWORD(GetRValue(face)) << 16 | DWORD(GetGValue(face)) << 8 |
                                    GetBValue(face));
    SkinImage1->BlendImage(whole, {0, 0}, SkinImage.Get());

    WindowDC screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    {
        SelectedObject selected(memory.get(), bitmap.get());
        UniqueBrush brush(CreateSolidBrush(face));
        ::FillRect(memory.get(), &whole, brush.get());
        SkinImage1->DrawTo(memory.get(), whole);
    }
    Image1->SetBitmap(bitmap.release());
}

void TCodecMessageDlg::bnWebClick(TObject*) {
    ShellOpen(CodecPageAddress(), "", "", SW_SHOW);
}

void ShowCodecMessage() {
    std::unique_ptr<TCodecMessageDlg, void (*)(TCodecMessageDlg*)> dialog(
        new TCodecMessageDlg(&Application()), [](TCodecMessageDlg* Form) { FreeComponent(Form); });
    dialog->ShowModal();
}

} // namespace vireon
