VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "comctl32.ocx"
Begin VB.Form frmLager 
   Caption         =   "Lagerübersicht – Bände"
   Begin MSComctlLib.ListView lvArtikel 
      _ExtentX        =   9763
      _Version        =   327682
      BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} 
         Name            =   "MS Sans Serif"
      EndProperty
      NumItems        =   2
      BeginProperty ColumnHeader(1) {0713E8C7-850A-101B-AFC0-4210102A8DA7} 
         Text            =   "Größe"
      EndProperty
      BeginProperty ColumnHeader(2) {0713E8C7-850A-101B-AFC0-4210102A8DA7} 
         Text            =   "Menge"
      EndProperty
   End
   Begin MSComctlLib.StatusBar sbStatus 
      BeginProperty Panels {0713E89E-850A-101B-AFC0-4210102A8DA7} 
         NumPanels       =   1
         BeginProperty Panel1 {0713E89F-850A-101B-AFC0-4210102A8DA7} 
         EndProperty
      EndProperty
   End
End
Attribute VB_Name = "frmLager"
Private Sub lvArtikel_ItemClick(ByVal Item As MSComctlLib.ListItem)
    sbStatus.Panels(1).Text = Item.Text
End Sub
