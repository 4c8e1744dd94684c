// Groups and parameters: New, edit, Delete, Copy and Paste with their
// dialogs' checks, the lock rules, and Undo of each on real and built files.
#include <gtest/gtest.h>

#include "EditFixture.h"
#include "document/EditSelection.h"
#include "document/GroupCommands.h"

using namespace edittest;
using B = CScriptedDialogs;

namespace {

class GroupCommands : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(f.OpenBuilt(StandardFile(false)), nullptr); }
  CC3d& c3d() { return f.doc->m_c3d; }
  CScriptedDialogs& dialogs() { return f.host.m_dialogs; }
  CScriptedPrompt& prompt() { return f.host.m_prompt; }
  int Group(const std::string& name) { return c3d().FindGroup(name); }
  void Select(int node, int item) {
    f.doc->m_nSelNode = node;
    f.doc->m_nSelItem = item;
  }
  CEditFixture f;
};

}  // namespace

TEST_F(GroupCommands, NewGroupIsNumberedBelowTheLowestAndCancelLeavesNoTrace) {
  // Groups -1 .. -6: the new one proposes -7.
  int proposed = 0;
  dialogs().GroupEditor([&](CGroupEditorRequest& r) {
    proposed = r.m_nNumber;
    return B::CANCEL;
  });
  const std::vector<unsigned char> before = f.SavedBytes();
  OnNewGroup(*f.doc);
  EXPECT_EQ(proposed, -7);
  EXPECT_EQ(c3d().m_groups.size(), 6u);
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_NONE);
  EXPECT_TRUE(f.SavedBytes() == before);

  // Without groups the first one is -1.
  c3d().m_groups.clear();
  dialogs().GroupEditor([&](CGroupEditorRequest& r) {
    proposed = r.m_nNumber;
    r.m_strName = "FIRST";
    return B::OK;
  });
  OnNewGroup(*f.doc);
  EXPECT_EQ(proposed, -1);
  ASSERT_EQ(c3d().m_groups.size(), 1u);
  EXPECT_EQ(c3d().m_groups[0].m_strName, "FIRST");
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_NEW_GROUP);
}

TEST_F(GroupCommands, GroupEditorRefusesBadNumbersAndNames) {
  // New mode: one refusal after another, the dialog staying open.
  dialogs().GroupEditor([](CGroupEditorRequest& r) {
    r.m_strName = "NEWG";
    r.m_nNumber = 0;
    return B::OK;
  });
  dialogs().GroupEditor([](CGroupEditorRequest& r) {
    r.m_nNumber = -2;
    return B::OK;
  });
  dialogs().GroupEditor([](CGroupEditorRequest& r) {
    r.m_nNumber = -9;
    r.m_strName = "9LIVES";
    return B::OK;
  });
  dialogs().GroupEditor([](CGroupEditorRequest& r) {
    r.m_strName = "NEW_G2";
    return B::OK;
  });
  OnNewGroup(*f.doc);
  EXPECT_EQ(prompt().TakeMessages(),
            (std::vector<std::string>{"Group Number should be negative",
                                      "The Group Number already belongs to another Group.\nPlease enter a new value",
                                      "Invalid Group Name"}));
  const CGroup& added = c3d().m_groups.back();
  EXPECT_EQ(added.m_strName, "NEW_G2");
  EXPECT_EQ(added.m_nId, -9);
}

// A name another group has (in any case) is refused in new and edit mode
// too; an unchanged name passes even where the file already has it twice.
TEST_F(GroupCommands, GroupNamesStayUnique) {
  dialogs().GroupEditor([](CGroupEditorRequest& r) {
    r.m_strName = "point";
    return B::OK;
  });
  dialogs().GroupEditor(B::Press<CGroupEditorRequest>(B::CANCEL));
  OnNewGroup(*f.doc);
  c3d().m_groups[Group("TRIAL")].m_strName = "POINT";
  Select(0, -4);  // the first POINT
  dialogs().GroupEditor([](CGroupEditorRequest& r) {
    r.m_strDescription = "kept";
    return B::OK;
  });
  EditSelected(*f.doc);
  EXPECT_EQ(prompt().TakeMessages(), std::vector<std::string>{"Please enter an unique Group Name"});
  EXPECT_EQ(c3d().m_groups.size(), 6u);
  EXPECT_EQ(c3d().m_groups[0].m_strDescription, "kept");
}

TEST_F(GroupCommands, RenumberingAGroupMovesItsParametersOnYesOnly) {
  const int trial = Group("TRIAL");  // -3, two parameters
  auto paramsIn = [&](int number) {
    int n = 0;
    for (const CParam& p : c3d().m_params) n += p.m_nGroupId == number;
    return n;
  };
  const int members = paramsIn(3);
  ASSERT_EQ(members, 2);
  Select(trial, -4);

  // Another group's number is refused; Cancel of the question stays in the
  // dialog; Yes renumbers.
  dialogs().GroupEditor([](CGroupEditorRequest& r) {
    r.m_nNumber = -1;
    return B::OK;
  });
  dialogs().GroupEditor([](CGroupEditorRequest& r) {
    r.m_nNumber = -7;
    return B::OK;
  });
  dialogs().GroupEditor(B::Press<CGroupEditorRequest>(B::OK));
  prompt().ExpectQuestion(CUserPrompt::ANSWER_CANCEL);
  prompt().ExpectQuestion(CUserPrompt::ANSWER_YES);
  EditSelected(*f.doc);
  EXPECT_EQ(prompt().TakeMessages(), std::vector<std::string>{"The Group Number already belongs to another Group"});
  EXPECT_EQ(c3d().m_groups[trial].m_nId, -7);
  EXPECT_EQ(paramsIn(7), members);
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_RENUMBER_GROUP);
  f.doc->OnEditUndo();
  EXPECT_EQ(c3d().m_groups[trial].m_nId, -3);
  EXPECT_EQ(paramsIn(3), members);

  // No: only the group's number changes; its parameters belong to no group.
  dialogs().GroupEditor([](CGroupEditorRequest& r) {
    r.m_nNumber = -7;
    return B::OK;
  });
  prompt().ExpectQuestion(CUserPrompt::ANSWER_NO);
  EditSelected(*f.doc);
  EXPECT_EQ(paramsIn(3), members);
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_EDIT_GROUP);
}

TEST_F(GroupCommands, LocksAreCheckedSeparatelyForGroupsAndParameters) {
  const int trial = Group("TRIAL");
  c3d().m_groups[trial].m_bLocked = true;
  const int start = c3d().FindParameter("TRIAL", "ACTUAL_START_FIELD");
  const int end = c3d().FindParameter("TRIAL", "ACTUAL_END_FIELD");
  c3d().m_params[end].m_bLocked = true;

  Select(trial, -4);
  EditSelected(*f.doc);
  DeleteSelected(*f.doc, {});  // refused before the question
  Select(trial, end);
  EditSelected(*f.doc);
  DeleteSelected(*f.doc, {});
  EXPECT_EQ(prompt().TakeMessages(),
            (std::vector<std::string>{"You do not have permission to edit locked parameters",
                                      "You do not have permission to delete locked parameters",
                                      "You do not have permission to edit locked parameters",
                                      "You do not have permission to delete locked parameters"}));

  // The unlocked parameter of the locked group is editable.
  Select(trial, start);
  dialogs().ParamEditor([](CParamEditorRequest& r) {
    r.m_strDescription = "edited";
    return B::OK;
  });
  EditSelected(*f.doc);
  EXPECT_EQ(c3d().m_params[start].m_strDescription, "edited");

  // With the permission, the locked ones are too.
  f.host.m_bLockedEdit = true;
  Select(trial, end);
  dialogs().ParamEditor(B::Press<CParamEditorRequest>(B::OK));
  EditSelected(*f.doc);
  EXPECT_EQ(f.doc->m_nUndoIndex, end);

  // Nothing at all without Edit Mode.
  f.host.m_bEditMode = false;
  EditSelected(*f.doc);
  DeleteSelected(*f.doc, {});
  EXPECT_FALSE(CanDeleteSelected(*f.doc));
  EXPECT_TRUE(CanCopySelected(*f.doc));
}

TEST_F(GroupCommands, ParameterEditorDimensionsTypesAndValues) {
  CParamEditorRequest r(c3d(), c3d().FindParameter("POINT", "LABELS"));  // CHAR 4 x 3
  // CHAR: the Dimensions box counts the string length; the type is fixed.
  EXPECT_EQ(r.MinDimensions(), 1);
  EXPECT_EQ(r.DataTypeChoices(), std::vector<std::string>{"CHAR"});
  EXPECT_FALSE(r.EditDimension(0, "12a", prompt()));
  EXPECT_FALSE(r.EditDimension(0, "0", prompt()));
  EXPECT_FALSE(r.EditDimension(1, "256", prompt()));
  EXPECT_EQ(prompt().TakeMessages(),
            (std::vector<std::string>{"Incorrect Dimension value", "Incorrect Dimension value"}));
  EXPECT_FALSE(r.EditValue(0, "LONGER", prompt()));  // too long for 4: refused silently
  EXPECT_TRUE(r.EditValue(0, "HEEL", prompt()));
  EXPECT_TRUE(r.EditDimension(0, "2", prompt()));
  EXPECT_EQ(r.m_param.m_strings, (std::vector<std::string>{"HE", "P2", "P3"}));
  EXPECT_TRUE(r.EditDimension(1, "4", prompt()));
  EXPECT_EQ(r.m_param.m_strings, (std::vector<std::string>{"HE", "P2", "P3", ""}));
  EXPECT_TRUE(r.SetDimensionCount(3, prompt()));
  EXPECT_EQ(r.m_param.m_dims, (std::vector<uint8_t>{2, 4, 1}));
  EXPECT_TRUE(prompt().m_messages.empty());

  // Numbers: each type takes only its own text; the type change carries the
  // values over.
  CParamEditorRequest n(c3d(), c3d().FindParameter("ANALOG", "SCALE"));  // FLOAT 0.5 1 1.5 2
  EXPECT_EQ(n.ValueText(0), "0.500000");
  EXPECT_FALSE(n.EditValue(0, "1.2.3", prompt()));
  EXPECT_TRUE(n.EditValue(1, "-.75", prompt()));
  EXPECT_TRUE(n.SetDataType("INTEGER", prompt()));
  EXPECT_EQ(n.ValueText(1), "0");  // -0.75 truncated toward zero
  EXPECT_EQ(n.ValueText(3), "2");
  EXPECT_FALSE(n.EditValue(0, "32768", prompt()));
  EXPECT_TRUE(n.EditValue(0, "-32768", prompt()));
  EXPECT_TRUE(n.SetDataType("BYTE", prompt()));
  EXPECT_FALSE(n.EditValue(2, "200", prompt()));
  EXPECT_FALSE(n.EditValue(2, "007", prompt()));
  EXPECT_TRUE(n.EditValue(2, "-128", prompt()));
  EXPECT_EQ(prompt().TakeMessages(),
            (std::vector<std::string>{"Entered Value is not a Valid FLOAT value",
                                      "Entered Value is not a Valid INTEGER value",
                                      "Entered Value is not a Valid BYTE value",
                                      "Entered Value is not a Valid BYTE value"}));
  EXPECT_TRUE(n.SetDimensionCount(0, prompt()));
  EXPECT_EQ(n.ValueCount(), 1);
  // 255 x 255 floats would not fit in a parameter record.
  EXPECT_TRUE(n.SetDimensionCount(2, prompt()));
  EXPECT_TRUE(n.EditDimension(0, "255", prompt()));
  EXPECT_FALSE(n.EditDimension(1, "255", prompt()));
  EXPECT_EQ(prompt().TakeMessages().size(), 1u);
}

TEST_F(GroupCommands, ParameterEditorOkChecksNameAndGroup) {
  const int labels = c3d().FindParameter("POINT", "LABELS");
  Select(Group("POINT"), labels);
  const int analog = Group("ANALOG");
  dialogs().ParamEditor([](CParamEditorRequest& r) {
    r.m_strName = "2D";
    return B::OK;
  });
  dialogs().ParamEditor([](CParamEditorRequest& r) {
    r.m_strName = "used";  // POINT:USED exists
    return B::OK;
  });
  dialogs().ParamEditor([&](CParamEditorRequest& r) {
    r.m_nGroup = analog;  // ANALOG:USED exists too
    return B::OK;
  });
  dialogs().ParamEditor([&](CParamEditorRequest& r) {
    r.m_nGroup = -1;  // no group chosen: OK does nothing
    return B::OK;
  });
  dialogs().ParamEditor([&](CParamEditorRequest& r) {
    r.m_nGroup = analog;
    r.m_strName = "PLABELS";
    r.EditValue(0, "X", prompt());
    return B::OK;
  });
  EditSelected(*f.doc);
  EXPECT_EQ(prompt().TakeMessages(),
            (std::vector<std::string>{"Invalid Parameter Name", "This Parameter is already present in the Group",
                                      "This Parameter is already present in the Group"}));
  const CParam& p = c3d().m_params[labels];
  EXPECT_EQ(p.m_strName, "PLABELS");
  EXPECT_EQ(p.m_nGroupId, 2);
  EXPECT_EQ(p.m_strings[0], "X");
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_EDIT_PARAM);

  // Cancel after edits: the parameter and the undo record stay as they are.
  const CParam copy = p;
  dialogs().ParamEditor([&](CParamEditorRequest& r) {
    r.m_strName = "OTHER";
    r.EditValue(1, "Y", prompt());
    return B::CANCEL;
  });
  Select(analog, labels);
  f.doc->m_nUndoIndex = -99;  // a marker of the earlier record
  EditSelected(*f.doc);
  EXPECT_EQ(c3d().m_params[labels].m_strings, copy.m_strings);
  EXPECT_EQ(c3d().m_params[labels].m_strName, "PLABELS");
  EXPECT_EQ(f.doc->m_nUndoIndex, -99);
}

TEST_F(GroupCommands, NewParameterAsksForTheDataTypeFirst) {
  const size_t count = c3d().m_params.size();
  dialogs().DataType([](CDataTypeRequest& r) {
    r.m_nChoice = CDataTypeRequest::NUMERIC;
    return B::OK;
  });
  dialogs().ParamEditor([](CParamEditorRequest& r) {
    EXPECT_EQ(r.m_param.m_nType, PARAM_BYTE);
    EXPECT_EQ(r.m_nGroup, 0);  // the first group
    EXPECT_EQ(r.m_strName, "Name");
    r.m_strName = "COUNT";
    return B::OK;
  });
  OnNewParameter(*f.doc);
  ASSERT_EQ(c3d().m_params.size(), count + 1);
  EXPECT_EQ(c3d().m_params.back().m_strName, "COUNT");
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_NEW_PARAM);

  // Cancel in either dialog adds nothing.
  dialogs().DataType(B::Press<CDataTypeRequest>(B::CANCEL));
  OnNewParameter(*f.doc);
  dialogs().DataType(B::Press<CDataTypeRequest>(B::OK));
  dialogs().ParamEditor([](CParamEditorRequest& r) {
    EXPECT_EQ(r.m_param.m_strings, std::vector<std::string>{"Data"});
    return B::CANCEL;
  });
  OnNewParameter(*f.doc);
  EXPECT_EQ(c3d().m_params.size(), count + 1);
  EXPECT_EQ(f.doc->m_nUndoKind, UNDO_NEW_PARAM);

  c3d().m_groups.clear();
  OnNewParameter(*f.doc);
  EXPECT_TRUE(prompt().HasMessage("There should be at least one group before a parameter can be created"));
}

TEST_F(GroupCommands, DeletingAGroupTakesItsParametersAndCannotBeUndone) {
  const int trial = Group("TRIAL");
  const size_t count = c3d().m_params.size();
  Select(trial, -4);
  prompt().ExpectQuestion(CUserPrompt::ANSWER_NO,
                          "You are going to delete Group TRIAL\nAll Parameters belonging to this group will be "
                          "deleted.  This operation cannot be un-done\nDo you want to continue?");
  DeleteSelected(*f.doc, {});
  EXPECT_EQ(c3d().m_groups.size(), 6u);

  // A recorded undo is voided by the deletion.
  f.doc->m_nUndoKind = UNDO_NEW_EVENT;
  prompt().ExpectQuestion(CUserPrompt::ANSWER_YES);
  DeleteSelected(*f.doc, {});
  EXPECT_EQ(c3d().FindGroup("TRIAL"), -1);
  EXPECT_EQ(c3d().m_params.size(), count - 2);
  EXPECT_EQ(f.doc->m_nSelNode, -1);
  EXPECT_FALSE(f.doc->CanUndo());
}

TEST_F(GroupCommands, CopyAndPasteBetweenDocuments) {
  CEditFixture other;
  CC3dFileBuilder bare = StandardFile(true, 2, 0);
  bare.m_groups.resize(1);  // POINT only
  bare.m_params.erase(std::remove_if(bare.m_params.begin(), bare.m_params.end(),
                                     [](const auto& p) { return p.m_nGroupId != 1; }),
                      bare.m_params.end());
  // Both documents share one application: one copy buffer.
  ASSERT_NE(other.OpenBuilt(bare, "other.c3d"), nullptr);
  auto paste = [&] { PasteBuffer(*other.doc, {}); };

  Select(Group("EMG"), -4);
  CopySelected(*f.doc, {});
  other.host.m_copyBuffer = f.host.m_copyBuffer;
  other.host.m_dialogs.GroupEditor([](CGroupEditorRequest& r) {
    EXPECT_EQ(r.m_strName, "EMG");
    r.m_strName = "point";
    return B::OK;
  });
  other.host.m_dialogs.GroupEditor([](CGroupEditorRequest& r) {
    r.m_strName = "EMG";
    r.m_nNumber = -1;
    return B::OK;
  });
  other.host.m_dialogs.GroupEditor([](CGroupEditorRequest& r) {
    r.m_nNumber = -6;
    return B::OK;
  });
  paste();
  EXPECT_EQ(other.host.m_prompt.TakeMessages(),
            (std::vector<std::string>{"Please enter an unique Group Name", "Please enter an unique Group Number"}));
  ASSERT_EQ(other.doc->m_c3d.m_groups.size(), 2u);
  EXPECT_EQ(other.doc->m_nUndoKind, UNDO_NEW_GROUP);

  // A parameter keeps its group number; in the other file it lands in the
  // group of that number.
  Select(Group("EMG"), c3d().FindParameter("EMG", "GAIN"));
  CopySelected(*f.doc, {});
  EXPECT_EQ(f.host.m_copyBuffer.m_nKind, COPY_PARAMETER);
  other.host.m_copyBuffer = f.host.m_copyBuffer;
  other.host.m_dialogs.ParamEditor([](CParamEditorRequest& r) {
    EXPECT_EQ(r.m_nGroup, 1);
    return B::OK;
  });
  paste();
  EXPECT_NE(other.doc->m_c3d.FindParam("EMG", "GAIN"), nullptr);
  EXPECT_EQ(other.doc->m_nUndoKind, UNDO_NEW_PARAM);

  other.doc->m_c3d.m_groups.clear();
  paste();
  EXPECT_TRUE(other.host.m_prompt.HasMessage("There should be at least one group before a parameter can be copied"));
}

// Undo gives back the very file, for every kind of this topic, on a built
// file and on recordings of two other systems in both storage kinds.
class GroupUndo : public ::testing::TestWithParam<std::string> {};

TEST_P(GroupUndo, EveryKindRestoresTheFile) {
  CEditFixture f;
  if (GetParam() == "built") {
    ASSERT_NE(f.OpenBuilt(StandardFile(false)), nullptr);
  } else {
    REQUIRE_CORPUS();
    ASSERT_NE(f.OpenCorpus(GetParam()), nullptr);
  }
  CEditorDoc& doc = *f.doc;
  CC3d& c3d = doc.m_c3d;
  CScriptedDialogs& dialogs = f.host.m_dialogs;
  f.host.m_bLockedEdit = true;
  const int point = c3d.FindGroup("POINT");
  const int rate = c3d.FindParameter("POINT", "RATE");
  ASSERT_GE(point, 0);
  ASSERT_GE(rate, 0);

  f.ExpectUndoRestoresFile([&] {
    doc.m_nSelNode = point;
    doc.m_nSelItem = -4;
    dialogs.GroupEditor([](CGroupEditorRequest& r) {
      r.m_strDescription = "changed";
      r.m_bLocked = !r.m_bLocked;
      return B::OK;
    });
    EditSelected(doc);
  }, UNDO_EDIT_GROUP);
  // A parameter of no group that has the number the group moves to joins
  // it, and stays where it was on Undo.
  CParam orphan;
  orphan.m_strName = "ORPHAN";
  orphan.m_nGroupId = 100;
  orphan.m_dims = {1};
  orphan.m_cells = {7u};
  c3d.m_params.push_back(orphan);
  f.ExpectUndoRestoresFile([&] {
    dialogs.GroupEditor([](CGroupEditorRequest& r) {
      r.m_nNumber = -100;
      return B::OK;
    });
    f.host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_YES);
    EditSelected(doc);
  }, UNDO_RENUMBER_GROUP);
  f.ExpectUndoRestoresFile([&] {
    dialogs.GroupEditor([](CGroupEditorRequest& r) {
      r.m_strName = "ADDED";
      return B::OK;
    });
    OnNewGroup(doc);
  }, UNDO_NEW_GROUP);
  f.ExpectUndoRestoresFile([&] {
    doc.m_nSelItem = rate;
    dialogs.ParamEditor([&](CParamEditorRequest& r) {
      r.EditValue(0, "123.5", f.host.m_prompt);
      r.m_strDescription = "rate";
      return B::OK;
    });
    EditSelected(doc);
    EXPECT_EQ(c3d.m_header.m_fFrameRate, 123.5f);
  }, UNDO_EDIT_PARAM);
  f.ExpectUndoRestoresFile([&] {
    doc.m_nSelNode = point;
    doc.m_nSelItem = rate;
    f.host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_YES);
    DeleteSelected(doc, {});
  }, UNDO_DELETE_PARAM);
  f.ExpectUndoRestoresFile([&] {
    dialogs.DataType(B::Press<CDataTypeRequest>(B::OK));
    dialogs.ParamEditor(B::Press<CParamEditorRequest>(B::OK));
    OnNewParameter(doc);
  }, UNDO_NEW_PARAM);
  EXPECT_TRUE(f.host.m_prompt.m_messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, GroupUndo,
                         ::testing::Values("built", "c3dorg_s01_eb015_pc_int.c3d", "c3dorg_s02_dec_real.c3d",
                                           "auck_fmc_dynamic.c3d"),
                         [](const auto& info) {
                           std::string name = info.param.substr(0, info.param.find('.'));
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });
