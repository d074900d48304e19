#include "motor/model_register_names.h"

#include <gtest/gtest.h>

#include "ladder/ladder_editor.h"
#include "ladder/ladder_grid.h"
#include "link/current_description.h"
#include "link/device_models.h"
#include "program_model/catalogue.h"

namespace quarn::motor {
namespace {

class ModelRegisterNamesTest : public ::testing::Test {
 protected:
  void TearDown() override { link::ClearCurrentDescription(); }
  ModelRegisterNames names;
};

TEST_F(ModelRegisterNamesTest, AnswersFromTheSelectedModel) {
  link::ClearCurrentDescription();
  EXPECT_FALSE(names.FindFieldByOperand("D361").has_value());
  EXPECT_EQ(names.MotionCommandOperand(), "");

  ASSERT_TRUE(link::SelectModel(link::ModelList()[2]));  // KLEM-B
  const auto accel = names.FindFieldByOperand("D361");
  ASSERT_TRUE(accel.has_value());
  EXPECT_EQ(accel->Caption, "ACCEL");
  EXPECT_EQ(accel->Bits, 16);
  EXPECT_FALSE(names.FindFieldByOperand("D0").has_value());
  EXPECT_FALSE(names.FindFieldByOperand("M361").has_value());
  EXPECT_EQ(names.MotionCommandOperand(), "D376");
  EXPECT_EQ(names.MicrostepOperand(), "D366");
}

// The editor annotates a MOV box with the real table's captions once a model is selected.
TEST_F(ModelRegisterNamesTest, AnnotatesMovBoxesInTheEditor) {
  ASSERT_TRUE(link::SelectModel(link::ModelList()[2]));
  ladder::LadderGrid grid;
  ladder::LadderEditor editor(grid, names);
  grid.SetCursor(0, 4);
  ASSERT_TRUE(
      editor.PlaceInstruction(program_model::FindInstructionByMnemonic("MOV"), {"K7", "D366"}));
  const int last = grid.ColCount() - 1;
  EXPECT_EQ(grid.Layers(0, last).Lbl, "MICROSTEP");
  EXPECT_EQ(grid.Layers(0, last).Cmd, "MICROSTEPPING 1/128");
}

}  // namespace
}  // namespace quarn::motor
