VERSION 5.00
Object = "{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCT2.OCX"
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "Comctl32.ocx"
Begin VB.Form frmServer 
   Begin MSComCtl2.UpDown udPort 
   End
   Begin MSComctlLib.Toolbar tbServer 
      BeginProperty Buttons {0713E452-850A-101B-AFC0-4210102A8DA7} 
         NumButtons      =   1
         BeginProperty Button1 {0713F354-850A-101B-AFC0-4210102A8DA7} 
         EndProperty
      EndProperty
   End
End
