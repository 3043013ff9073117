// A track bar (slider) with a range, tick marks and a change event.
#pragma once

#include "forms/TWinControl.h"

#include <algorithm>

namespace vireon {

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner = nullptr);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    // A range whose ends cross is taken as the other end; the position is kept inside the range.
    void SetMin(int Value) { SetRange(Value, std::max(Value, FMax)); }
    void SetMax(int Value) { SetRange(std::min(FMin, Value), Value); }
    void SetRange(int AMin, int AMax);
    int Position() const { return FPosition; }
    // A value outside the range is clamped to it. OnChange runs when the position changes.
    void SetPosition(int Value);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value);
    int ThumbLength() const { return FThumbLength; }
    void SetThumbLength(int Value);
    TTickMark TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark Value);
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation Value);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;
    bool HandleNotification(TMessage& Message) override;

private:

    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    int FFrequency = 1;
    int FThumbLength = 20;
    TTickMark FTickMarks = tmBottomRight;
    TTrackBarOrientation FOrientation = trHorizontal;
};

} // namespace vireon
