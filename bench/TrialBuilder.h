#pragma once
// Building C3D files of our own from scratch: groups, parameters, sample
// stores and header events set up in a CC3d, then written through the normal
// writer. Used for the bundled sample file and the benchmark's large files.

#include <string>
#include <vector>

#include "c3d/C3d.h"

class CTrialBuilder {
 public:
  explicit CTrialBuilder(CC3d& c3d) : m_c3d(c3d) {}

  // Header counts and frame range; allocates zeroed stores of the kind given.
  // The working scale is negative for real storage.
  bool SetLayout(int points, int analogChannels, int samplesPerFrame, int frames, float frameRate,
                 StorageKind storage, float pointScale);

  void AddGroup(const std::string& name, int id, const std::string& description);
  // Parameters of the group with that id (a positive number).
  void AddChars(int group, const std::string& name, const std::string& description,
                const std::vector<std::string>& entries);
  void AddInts(int group, const std::string& name, const std::string& description,
               const std::vector<int>& values, std::vector<uint8_t> dims = {});
  void AddFloats(int group, const std::string& name, const std::string& description,
                 const std::vector<float>& values, std::vector<uint8_t> dims = {});

  // The parameters every reader expects from the layout: POINT:USED, SCALE,
  // RATE, DATA_START, FRAMES, UNITS; ANALOG:USED, RATE, GEN_SCALE; TRIAL's
  // frame fields. Groups POINT (1), ANALOG (2) and TRIAL (3) must exist.
  void AddLayoutParameters();

  void AddHeaderEvent(const std::string& label, float time, bool display);

  // Sample setters (frame index from 0).
  void SetPoint(int point, int frame, float x, float y, float z, float residualWord);
  void SetAnalog(int channel, int sampleIndex, float value);

  // Writes the model to `path` through CC3d::SaveToFile. A C3D file is saved
  // on top of the header block of its source file, so a blank header block is
  // written first (beside the target) as that source.
  bool Save(const std::string& path, std::string& error);

 private:
  CC3d& m_c3d;
};
