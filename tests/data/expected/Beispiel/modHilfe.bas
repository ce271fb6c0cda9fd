Attribute VB_Name = "modHilfe"
Option Explicit

' Hilfsroutinen für die Liste; benötigt MSCOMCTL.OCX und MSCOMCT2.OCX
' Typbibliothek: {831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0 (ältere Fassung)

Public Sub FuelleListe(lv As MSComctlLib.ListView, ByVal Anzahl As Integer)
    Dim i As Integer
    Dim Kunde As clsKunde
    Dim Eintrag As MSComctlLib.ListItem
    lv.ListItems.Clear
    For i = 1 To Anzahl
        Set Kunde = New clsKunde
        Kunde.Name = "Kunde " & i
        Kunde.Ort = "Köln"
        Set Eintrag = Kunde.AlsEintrag(lv)
    Next i
End Sub

Public Sub NeuerKunde(lv As MSComctlLib.ListView)
    Dim Kunde As New clsKunde
    Kunde.Name = InputBox("Name des Kunden:", "Neuer Kunde")
    Kunde.Ort = "Düsseldorf"
    Kunde.AlsEintrag lv
End Sub

Public Function Schrittweite(ud As MSComCtl2.UpDown) As Integer
    Schrittweite = ud.Increment
End Function
