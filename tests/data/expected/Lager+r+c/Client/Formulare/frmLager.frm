VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.Form frmLager 
   Caption         =   "Lagerübersicht – Bände"
   Begin MSComctlLib.ListView lvArtikel 
      _ExtentX        =   9763
      _Version        =   327682
      BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} 
         Name            =   "MS Sans Serif"
      EndProperty
      NumItems        =   2
      BeginProperty ColumnHeader(1) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         Text            =   "Größe"
      EndProperty
      BeginProperty ColumnHeader(2) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         Text            =   "Menge"
      EndProperty
   End
   Begin MSComctlLib.StatusBar sbStatus 
      BeginProperty Panels {8E3867A5-8586-11D1-B16A-00C0F0283628} 
         NumPanels       =   1
         BeginProperty Panel1 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
         EndProperty
      EndProperty
   End
End
Attribute VB_Name = "frmLager"
Private Sub lvArtikel_ItemClick(ByVal Item As MSComctlLib.ListItem)
    sbStatus.Panels(1).Text = Item.Text
End Sub
