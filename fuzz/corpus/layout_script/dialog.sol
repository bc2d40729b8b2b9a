layout my_dialog
{
	view kel_dialog (name:'$$$/kelcapitoningui/CaptionSettingsDialog/CaptionSidecarSettings=Caption Sidecar Settings', identifier:'CaptionSidecarSettingsDialog') {
		column (child_horizontal:align_fill, horizontal:align_fill) {
			kel_popup (identifier:'FileFormatPopupID', label:'$$$/kelcaptioningui/CaptionSettingsDialog/FileFormat=File Format:', minWidth:250, topSpace:3);
			kel_popup (identifier:'TimeDisplayPopupID', label:'$$$/kelcaptioningui/CaptionSettingsDialog/FrameRate=Frame Rate:', minWidth:250, topSpace:3);
			kel_checkbox (identifier:'IncludeSRTStylingID', name:'$$$/kelcaptioningui/CaptionSettingsDialog/IncludeSRTStyling=Include SRT Styling');
			kel_ok_cancel_row ();
		}
	}
}
