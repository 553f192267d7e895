Begin VB.Form f
 Begin TabDlg.SSTab t
  Tab = 1e300
  Tab(0).Control(0) = "n"
  Begin VB.Label n
   Index = -1e300
   Left = 1e400
  End
 End
End
