// The "Insufficient decoders" dialog, shown when a disc cannot be rendered: why, where to get
// decoders ("Go to WEB" opens the product site's codec page), and the picture "skins\Display.tga"
// blended over the dialog's face colour when that file can be read.
#pragma once

#include "forms/TButton.h"
#include "forms/TForm.h"
#include "forms/TImage.h"
#include "forms/TLabel.h"
#include "skin/SkinInterfaces.h"

#include <string>

namespace vireon {

class TCodecMessageDlg : public TForm {
public:
    static constexpr int kClientWidth = 296;
    static constexpr int kClientHeight = 148;

    // Picture: the TGA file to show, "skins\Display.tga" in the program's folder unless told.
    explicit TCodecMessageDlg(TComponent* AOwner, std::string Picture = DefaultPicture());

    TImage* Image1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TButton* bnWeb = nullptr;
    TButton* bnClose = nullptr;
    // The picture as read, and the picture blended over the face colour.
    Microsoft::WRL::ComPtr<skin::ISkinImage> SkinImage;
    Microsoft::WRL::ComPtr<skin::ISkinImage> SkinImage1;

    void bnWebClick(TObject* Sender);

    static std::string DefaultPicture();
    // The product site's address for the codec page.
    static std::string CodecPageAddress();

private:
    void CreateLabels();
    void LoadPicture(const std::string& Path);
};

// Shows the "Insufficient decoders" dialog modally, then frees it.
void ShowCodecMessage();

} // namespace vireon
