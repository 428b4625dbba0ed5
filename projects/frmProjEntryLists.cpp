// The project editor's side lists, its history and its comment. The editor's load, tabs, activation
// and close already call these in their places; the lists they fill and the boxes they read are
// built and laid out with the rest of the screen. Until the lists are read they stay empty, and the
// comment and the "New:" note are not posted.
#include "projects/frmProjEntry.h"

void frmProjEntry::LoadProjectHistory() {}

void frmProjEntry::LoadToDoInfo() {}

void frmProjEntry::LoadApptsInfo() {}

void frmProjEntry::LoadRelContactInfo() {}

void frmProjEntry::LoadUserDefInfo() {}

void frmProjEntry::LoadComments() {}

void frmProjEntry::PostCommentEntry() {}

void frmProjEntry::PostChangedComment() {
    if (m_blnCommentChanged) PostCommentEntry();
}

void frmProjEntry::PostNewHistoryItem() {}

void frmProjEntry::cboHistFilter_Click() {}

void frmProjEntry::txtComments_Change() {}

void frmProjEntry::lblHyper_Click(int /*index*/) {}
