#pragma once
// The user's settings: plain data shared by every layer. Loaded once at
// start-up and written once at exit by app/SettingsStore; the documents and
// processing commands only read them.

#include <cstdint>
#include <string>

// Frames a filter works on.
enum FilterFrames { FRAMES_ALL = 0, FRAMES_SELECTION = 1, FRAMES_RESIDUAL = 2 };

struct FilterSettings {
  uint8_t m_nType = 0;  // 0..3
  float m_fLowFreq = 0.0f;
  float m_fHighFreq = 0.0f;
  int m_nOrder = 0;
  int m_nFrames = FRAMES_ALL;  // FilterFrames
  float m_fResidual = 2.0f;    // 3D filters only
};

struct AppSettings {
  // Settings\View
  int m_nSubFrames = 0;
  float m_f3DRed = 2.0f;
  int m_nScaleAnalog = 0;
  int m_nScale3d = 1;
  int m_nAnalogDepth = 200;  // hundredths of an inch
  int m_n3DDepth = 100;
  int m_nAnalogXunit = 1;  // 0.01 inch units
  int m_n3DXunit = 2;
  int m_nFitHorizontal = 0;
  int m_nShowList = 1;
  int m_nTabbedDocuments = 0;  // the document windows shown as tabs

  // Settings\Interpolate
  int m_nInterpAllChannels = 0;
  int m_nInterpType = 0;  // 0 fill gaps, 1 residual threshold
  int m_nInterpGaps = 10;
  float m_fInterpResid = 2.5f;

  // Filters
  FilterSettings m_firAnalog{0, 100.0f, 200.0f, 20, FRAMES_ALL, 2.0f};
  FilterSettings m_firVideo{0, 10.0f, 20.0f, 20, FRAMES_ALL, 2.0f};
  FilterSettings m_butterAnalog{0, 100.0f, 200.0f, 4, FRAMES_ALL, 2.0f};
  FilterSettings m_butterVideo{0, 10.0f, 20.0f, 4, FRAMES_ALL, 2.0f};

  // Settings
  uint8_t m_nAnalogFilter = 1;  // 1 Butterworth, 0 FIR
  uint8_t m_nVideoFilter = 1;
  int m_nEdit = 0;  // Edit Mode at start-up
  std::string m_strValidFile;
  std::string m_strBatchFile;
  std::string m_strFontName = "Times New Roman";
  int m_nFontSize = 10;
  int m_nFontBold = 0;
  int m_nFontItalic = 0;
  int m_nRescaleConversion = 0;

  // Color (0x00BBGGRR)
  uint32_t m_nColorHigh = 0xff0000;
  uint32_t m_nColorZero = 0xff00;
  uint32_t m_nColorEvent = 0xff0000;
};

// Colours are stored as 0x00BBGGRR.
inline uint32_t MakeColorRef(unsigned red, unsigned green, unsigned blue) {
  return (red & 0xffu) | ((green & 0xffu) << 8) | ((blue & 0xffu) << 16);
}
inline unsigned ColorRefRed(uint32_t color) { return color & 0xffu; }
inline unsigned ColorRefGreen(uint32_t color) { return (color >> 8) & 0xffu; }
inline unsigned ColorRefBlue(uint32_t color) { return (color >> 16) & 0xffu; }
