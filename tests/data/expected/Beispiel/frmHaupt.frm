VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Object = "{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCT2.OCX"
Begin VB.Form frmHaupt 
   Caption         =   "Kundenübersicht"
   ClientHeight    =   4590
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   6255
   LinkTopic       =   "Form1"
   ScaleHeight     =   4590
   ScaleWidth      =   6255
   StartUpPosition =   3  'Windows-Standard
   Begin VB.TextBox txtAnzahl 
      Height          =   285
      Left            =   1680
      TabIndex        =   2
      Text            =   "10"
      Top             =   600
      Width           =   735
   End
   Begin MSComCtl2.UpDown UpDown1 
      Height          =   285
      Left            =   2415
      TabIndex        =   3
      Top             =   600
      Width           =   240
      _ExtentX        =   423
      _ExtentY        =   503
      _Version        =   327681
      Value           =   10
      BuddyControl    =   "txtAnzahl"
      BuddyDispid     =   196610
      OrigLeft        =   2415
      OrigTop         =   600
      OrigRight       =   2655
      OrigBottom      =   885
      Max             =   99
      Min             =   1
      SyncBuddy       =   -1  'True
      BuddyProperty   =   65547
      Enabled         =   -1  'True
   End
   Begin MSComctlLib.ListView lvKunden 
      Height          =   2895
      Left            =   120
      TabIndex        =   0
      Top             =   1080
      Width           =   6015
      _ExtentX        =   10610
      _ExtentY        =   5106
      View            =   3
      LabelWrap       =   -1  'True
      HideSelection   =   -1  'True
      _Version        =   327682
      SmallIcons      =   "ImageList1"
      ForeColor       =   -2147483640
      BackColor       =   -2147483643
      BorderStyle     =   1
      Appearance      =   1
      NumItems        =   2
      BeginProperty ColumnHeader(1) {0713E8C7-850A-101B-AFC0-4210102A8DA7} 
         Key             =   "Name"
         Object.Tag             =   ""
         Text            =   "Name"
         Object.Width           =   2540
      EndProperty
      BeginProperty ColumnHeader(2) {0713E8C7-850A-101B-AFC0-4210102A8DA7} 
         SubItemIndex    =   1
         Key             =   "Ort"
         Object.Tag             =   ""
         Text            =   "Wohnort"
         Object.Width           =   2540
      EndProperty
   End
   Begin MSComctlLib.StatusBar StatusBar1 
      Align           =   2  'Unten ausrichten
      Height          =   375
      Left            =   0
      TabIndex        =   1
      Top             =   4215
      Width           =   6255
      _ExtentX        =   11033
      _ExtentY        =   661
      SimpleText      =   ""
      _Version        =   327682
      BeginProperty Panels {0713E89E-850A-101B-AFC0-4210102A8DA7} 
         NumPanels       =   2
         BeginProperty Panel1 {0713E89F-850A-101B-AFC0-4210102A8DA7} 
            AutoSize        =   1
            Object.Width           =   8811
            Text            =   "Bereit"
            TextSave        =   "Bereit"
            Key             =   "Status"
            Object.Tag             =   ""
         EndProperty
         BeginProperty Panel2 {0713E89F-850A-101B-AFC0-4210102A8DA7} 
            Style           =   6
            TextSave        =   "24.03.1998"
            Key             =   "Datum"
            Object.Tag             =   ""
         EndProperty
      EndProperty
   End
   Begin MSComctlLib.Toolbar Toolbar1 
      Align           =   1  'Oben ausrichten
      Height          =   390
      Left            =   0
      TabIndex        =   4
      Top             =   0
      Width           =   6255
      _ExtentX        =   11033
      _ExtentY        =   688
      ButtonWidth     =   609
      ButtonHeight    =   582
      Appearance      =   1
      ImageList       =   "ImageList1"
      _Version        =   327682
      BeginProperty Buttons {0713E452-850A-101B-AFC0-4210102A8DA7} 
         NumButtons      =   2
         BeginProperty Button1 {0713F354-850A-101B-AFC0-4210102A8DA7} 
            Key             =   "Neu"
            Object.ToolTipText     =   "Neuer Kunde"
            Object.Tag             =   ""
            ImageIndex      =   1
         EndProperty
         BeginProperty Button2 {0713F354-850A-101B-AFC0-4210102A8DA7} 
            Key             =   "Loeschen"
            Object.ToolTipText     =   "Kunden löschen"
            Object.Tag             =   ""
            ImageIndex      =   2
         EndProperty
      EndProperty
   End
   Begin MSComctlLib.ImageList ImageList1 
      Left            =   5400
      Top             =   480
      _ExtentX        =   1005
      _ExtentY        =   1005
      BackColor       =   -2147483643
      ImageWidth      =   16
      ImageHeight     =   16
      MaskColor       =   12632256
      _Version        =   327682
      BeginProperty Images {0713E8C2-850A-101B-AFC0-4210102A8DA7} 
         NumListImages   =   2
         BeginProperty ListImage1 {0713E8C3-850A-101B-AFC0-4210102A8DA7} 
            Picture         =   "frmHaupt.frx":0000
            Key             =   "Neu"
         EndProperty
         BeginProperty ListImage2 {0713E8C3-850A-101B-AFC0-4210102A8DA7} 
            Picture         =   "frmHaupt.frx":0080
            Key             =   "Loeschen"
         EndProperty
      EndProperty
   End
   Begin VB.Label lblAnzahl 
      Caption         =   "Anzahl Einträge:"
      Height          =   255
      Left            =   120
      TabIndex        =   5
      Top             =   630
      Width           =   1455
   End
End
Attribute VB_Name = "frmHaupt"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' Hauptfenster der Kundenverwaltung (Müller & Söhne)

Private Sub Form_Load()
    FuelleListe lvKunden, UpDown1.Value
    StatusBar1.Panels("Status").Text = "Bereit"
End Sub

Private Sub Toolbar1_ButtonClick(ByVal Button As MSComctlLib.Button)
    Select Case Button.Key
    Case "Neu"
        NeuerKunde lvKunden
    Case "Loeschen"
        If Not lvKunden.SelectedItem Is Nothing Then lvKunden.ListItems.Remove lvKunden.SelectedItem.Index
    End Select
End Sub

Private Sub lvKunden_ColumnClick(ByVal ColumnHeader As MSComctlLib.ColumnHeader)
    ' Sortieren nach der angeklickten Spalte; Typ ist MSComctlLib.ColumnHeader, nicht comctllib.columnheader
    lvKunden.SortKey = ColumnHeader.Index - 1
    lvKunden.Sorted = True
End Sub

Private Sub UpDown1_Change()
    Dim Eintrag As MSComctlLib.ListItem
    ' Schon umgestellt, bleibt so: Dim Alt As MSComctlLib.ListItem, MSComCtl2.UpDown
    StatusBar1.Panels("Status").Text = "Höchstens " & UpDown1.Value & " Einträge"
End Sub
