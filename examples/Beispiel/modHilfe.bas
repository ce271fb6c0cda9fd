Attribute VB_Name = "modHilfe"
Option Explicit

' Hilfsroutinen für die Liste; benötigt COMCTL32.OCX und COMCT232.OCX
' Typbibliothek: {6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.4#0 (ältere Fassung)

Public Sub FuelleListe(lv As ComctlLib.ListView, ByVal Anzahl As Integer)
    Dim i As Integer
    Dim Kunde As clsKunde
    Dim Eintrag As ComctlLib.ListItem
    lv.ListItems.Clear
    For i = 1 To Anzahl
        Set Kunde = New clsKunde
        Kunde.Name = "Kunde " & i
        Kunde.Ort = "Köln"
        Set Eintrag = Kunde.AlsEintrag(lv)
    Next i
End Sub

Public Sub NeuerKunde(lv As ComctlLib.ListView)
    Dim Kunde As New clsKunde
    Kunde.Name = InputBox("Name des Kunden:", "Neuer Kunde")
    Kunde.Ort = "Düsseldorf"
    Kunde.AlsEintrag lv
End Sub

Public Function Schrittweite(ud As ComCtl2.UpDown) As Integer
    Schrittweite = ud.Increment
End Function