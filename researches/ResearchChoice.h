// What the measurements window and the measurement dialog read from the open research dialog:
// the level and kind as chosen there at the moment of use, not as stored in the register.
#pragma once

class TResearchChoice {
public:
    virtual ~TResearchChoice() = default;
    // ComboBox1's position: 0 regional (places from ksRegions.txt), any other federal.
    virtual int ChosenLevel() const = 0;
    // ComboBox2's position: 0 logical, any other numeric.
    virtual int ChosenKind() const = 0;
    // Called by the measurements window after it saved the research's measurements, with the
    // level and kind it used, so the register keeps no record that contradicts them.
    virtual void MeasurementsSaved(int level, int kind) = 0;
};
