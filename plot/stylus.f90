! The Fortran 90 interface of the STYLUS plotting library: module stylus gives every routine
! an explicit interface, so that the compiler rejects an argument of the wrong type or kind
! (a DOUBLE PRECISION array given to curve, an integer where a real is expected) instead of
! drawing an empty plot. Compile it with your program and `use stylus`:
!
!   gfortran $(pkg-config --variable=fortran_module stylus) prog.f90 $(pkg-config --libs stylus)
!
! Reals are REAL (c_float), whole numbers INTEGER (c_int); texts are of any length (keywords
! count by their first four characters, blanks at the end of a title count). The routines
! call the library's by-reference entry points (the names with an underscore), which a
! program without the module reaches as plain external routines.
module stylus
  use, intrinsic :: iso_c_binding, only: c_char, c_float, c_int, c_long
  implicit none
  private

  public :: getver, getplv, metafl, setpag, winini, disini, disfin, resall
  public :: color, setclr, setvlt, linwid, dddate, ddtime, msgmod, nwarns
  public :: lintyp, myline, solid, dash, dashm, dashl, dotl, chndot, chndsh, lnmlt
  public :: height, angle, messag, nlmess, disalf
  public :: graf, xposn, yposn, nxposn, nyposn, trfrel, labdig, name, hname, curve
  public :: rimage, rtiff, rpng
  public :: marker, hsymbl, incmrk, symbol, rlsymb, errbar, errhor, errcap
  public :: legini, leglin, legend, legpag

  ! Routines without texts: bound directly to their entry points.
  interface
    ! Sessions and devices
    function getver() bind(c, name='getver_')
      import :: c_float
      real(c_float) :: getver
    end function getver
    function getplv() bind(c, name='getplv_')
      import :: c_int
      integer(c_int) :: getplv
    end function getplv
    subroutine winini() bind(c, name='winini_')
    end subroutine winini
    subroutine disini() bind(c, name='disini_')
    end subroutine disini
    subroutine disfin() bind(c, name='disfin_')
    end subroutine disfin
    subroutine resall() bind(c, name='resall_')
    end subroutine resall
    function nwarns() bind(c, name='nwarns_')
      import :: c_int
      integer(c_int) :: nwarns
    end function nwarns

    ! Colours and lines
    subroutine setclr(ncol) bind(c, name='setclr_')
      import :: c_int
      integer(c_int), intent(in) :: ncol
    end subroutine setclr
    subroutine linwid(nwidth) bind(c, name='linwid_')
      import :: c_int
      integer(c_int), intent(in) :: nwidth
    end subroutine linwid
    subroutine lintyp(ntype) bind(c, name='lintyp_')
      import :: c_int
      integer(c_int), intent(in) :: ntype
    end subroutine lintyp
    subroutine myline(pattern, n) bind(c, name='myline_')
      import :: c_int
      integer(c_int), intent(in) :: pattern(*)
      integer(c_int), intent(in) :: n
    end subroutine myline
    subroutine solid() bind(c, name='solid_')
    end subroutine solid
    subroutine dash() bind(c, name='dash_')
    end subroutine dash
    subroutine dashm() bind(c, name='dashm_')
    end subroutine dashm
    subroutine dashl() bind(c, name='dashl_')
    end subroutine dashl
    subroutine dotl() bind(c, name='dotl_')
    end subroutine dotl
    subroutine chndot() bind(c, name='chndot_')
    end subroutine chndot
    subroutine chndsh() bind(c, name='chndsh_')
    end subroutine chndsh
    subroutine lnmlt(factor) bind(c, name='lnmlt_')
      import :: c_float
      real(c_float), intent(in) :: factor
    end subroutine lnmlt

    ! Text
    subroutine height(nheight) bind(c, name='height_')
      import :: c_int
      integer(c_int), intent(in) :: nheight
    end subroutine height
    subroutine angle(nangle) bind(c, name='angle_')
      import :: c_int
      integer(c_int), intent(in) :: nangle
    end subroutine angle
    subroutine disalf() bind(c, name='disalf_')
    end subroutine disalf

    ! Axis systems and curves
    subroutine graf(xa, xe, xor, xstp, ya, ye, yor, ystp) bind(c, name='graf_')
      import :: c_float
      real(c_float), intent(in) :: xa, xe, xor, xstp, ya, ye, yor, ystp
    end subroutine graf
    function xposn(x) bind(c, name='xposn_')
      import :: c_float
      real(c_float), intent(in) :: x
      real(c_float) :: xposn
    end function xposn
    function yposn(y) bind(c, name='yposn_')
      import :: c_float
      real(c_float), intent(in) :: y
      real(c_float) :: yposn
    end function yposn
    function nxposn(x) bind(c, name='nxposn_')
      import :: c_float, c_int
      real(c_float), intent(in) :: x
      integer(c_int) :: nxposn
    end function nxposn
    function nyposn(y) bind(c, name='nyposn_')
      import :: c_float, c_int
      real(c_float), intent(in) :: y
      integer(c_int) :: nyposn
    end function nyposn
    subroutine trfrel(xs, ys, n) bind(c, name='trfrel_')
      import :: c_float, c_int
      real(c_float), intent(inout) :: xs(*), ys(*)
      integer(c_int), intent(in) :: n
    end subroutine trfrel
    subroutine hname(nheight) bind(c, name='hname_')
      import :: c_int
      integer(c_int), intent(in) :: nheight
    end subroutine hname
    subroutine curve(x, y, n) bind(c, name='curve_')
      import :: c_float, c_int
      real(c_float), intent(in) :: x(*), y(*)
      integer(c_int), intent(in) :: n
    end subroutine curve

    ! Plot symbols, error bars and legends
    subroutine marker(nsym) bind(c, name='marker_')
      import :: c_int
      integer(c_int), intent(in) :: nsym
    end subroutine marker
    subroutine hsymbl(nsize) bind(c, name='hsymbl_')
      import :: c_int
      integer(c_int), intent(in) :: nsize
    end subroutine hsymbl
    subroutine incmrk(nmode) bind(c, name='incmrk_')
      import :: c_int
      integer(c_int), intent(in) :: nmode
    end subroutine incmrk
    subroutine symbol(nsym, nx, ny) bind(c, name='symbol_')
      import :: c_int
      integer(c_int), intent(in) :: nsym, nx, ny
    end subroutine symbol
    subroutine rlsymb(nsym, x, y) bind(c, name='rlsymb_')
      import :: c_float, c_int
      integer(c_int), intent(in) :: nsym
      real(c_float), intent(in) :: x, y
    end subroutine rlsymb
    subroutine errbar(x, y, e1, e2, n) bind(c, name='errbar_')
      import :: c_float, c_int
      real(c_float), intent(in) :: x(*), y(*), e1(*), e2(*)
      integer(c_int), intent(in) :: n
    end subroutine errbar
    subroutine errhor(x, y, e1, e2, n) bind(c, name='errhor_')
      import :: c_float, c_int
      real(c_float), intent(in) :: x(*), y(*), e1(*), e2(*)
      integer(c_int), intent(in) :: n
    end subroutine errhor
    subroutine errcap(nwidth) bind(c, name='errcap_')
      import :: c_int
      integer(c_int), intent(in) :: nwidth
    end subroutine errcap
    subroutine legini(nlin) bind(c, name='legini_')
      import :: c_int
      integer(c_int), intent(in) :: nlin
    end subroutine legini
    subroutine legpag(nx, ny) bind(c, name='legpag_')
      import :: c_int
      integer(c_int), intent(in) :: nx, ny
    end subroutine legpag
  end interface

  ! The entry points of the routines with texts: each text is followed by its length, as the
  ! wrappers below pass it.
  interface
    subroutine entry_metafl(cfmt, len_cfmt) bind(c, name='metafl_')
      import :: c_char, c_long
      character(kind=c_char), intent(in) :: cfmt(*)
      integer(c_long), value :: len_cfmt
    end subroutine entry_metafl
    subroutine entry_setpag(cpag, len_cpag) bind(c, name='setpag_')
      import :: c_char, c_long
      character(kind=c_char), intent(in) :: cpag(*)
      integer(c_long), value :: len_cpag
    end subroutine entry_setpag
    subroutine entry_color(cname, len_cname) bind(c, name='color_')
      import :: c_char, c_long
      character(kind=c_char), intent(in) :: cname(*)
      integer(c_long), value :: len_cname
    end subroutine entry_color
    subroutine entry_setvlt(ctab, len_ctab) bind(c, name='setvlt_')
      import :: c_char, c_long
      character(kind=c_char), intent(in) :: ctab(*)
      integer(c_long), value :: len_ctab
    end subroutine entry_setvlt
    subroutine entry_dddate(cdate, len_cdate) bind(c, name='dddate_')
      import :: c_char, c_long
      character(kind=c_char), intent(out) :: cdate(*)
      integer(c_long), value :: len_cdate
    end subroutine entry_dddate
    subroutine entry_ddtime(ctime, len_ctime) bind(c, name='ddtime_')
      import :: c_char, c_long
      character(kind=c_char), intent(out) :: ctime(*)
      integer(c_long), value :: len_ctime
    end subroutine entry_ddtime
    subroutine entry_msgmod(cmode, len_cmode) bind(c, name='msgmod_')
      import :: c_char, c_long
      character(kind=c_char), intent(in) :: cmode(*)
      integer(c_long), value :: len_cmode
    end subroutine entry_msgmod
    subroutine entry_messag(text, nx, ny, len_text) bind(c, name='messag_')
      import :: c_char, c_int, c_long
      character(kind=c_char), intent(in) :: text(*)
      integer(c_int), intent(in) :: nx, ny
      integer(c_long), value :: len_text
    end subroutine entry_messag
    function entry_nlmess(text, len_text) bind(c, name='nlmess_')
      import :: c_char, c_int, c_long
      character(kind=c_char), intent(in) :: text(*)
      integer(c_long), value :: len_text
      integer(c_int) :: entry_nlmess
    end function entry_nlmess
    subroutine entry_labdig(n, axes, len_axes) bind(c, name='labdig_')
      import :: c_char, c_int, c_long
      integer(c_int), intent(in) :: n
      character(kind=c_char), intent(in) :: axes(*)
      integer(c_long), value :: len_axes
    end subroutine entry_labdig
    subroutine entry_name(text, axes, len_text, len_axes) bind(c, name='name_')
      import :: c_char, c_long
      character(kind=c_char), intent(in) :: text(*), axes(*)
      integer(c_long), value :: len_text, len_axes
    end subroutine entry_name
    subroutine entry_rimage(cfile, len_cfile) bind(c, name='rimage_')
      import :: c_char, c_long
      character(kind=c_char), intent(in) :: cfile(*)
      integer(c_long), value :: len_cfile
    end subroutine entry_rimage
    subroutine entry_rtiff(cfile, len_cfile) bind(c, name='rtiff_')
      import :: c_char, c_long
      character(kind=c_char), intent(in) :: cfile(*)
      integer(c_long), value :: len_cfile
    end subroutine entry_rtiff
    subroutine entry_rpng(cfile, len_cfile) bind(c, name='rpng_')
      import :: c_char, c_long
      character(kind=c_char), intent(in) :: cfile(*)
      integer(c_long), value :: len_cfile
    end subroutine entry_rpng
    subroutine entry_leglin(text, ilin, len_text) bind(c, name='leglin_')
      import :: c_char, c_int, c_long
      character(kind=c_char), intent(in) :: text(*)
      integer(c_int), intent(in) :: ilin
      integer(c_long), value :: len_text
    end subroutine entry_leglin
    subroutine entry_legend(cpos, len_cpos) bind(c, name='legend_')
      import :: c_char, c_long
      character(kind=c_char), intent(in) :: cpos(*)
      integer(c_long), value :: len_cpos
    end subroutine entry_legend
  end interface

contains

  subroutine metafl(cfmt)
    character(len=*), intent(in) :: cfmt
    call entry_metafl(cfmt, len(cfmt, kind=c_long))
  end subroutine metafl

  subroutine setpag(cpag)
    character(len=*), intent(in) :: cpag
    call entry_setpag(cpag, len(cpag, kind=c_long))
  end subroutine setpag

  subroutine color(cname)
    character(len=*), intent(in) :: cname
    call entry_color(cname, len(cname, kind=c_long))
  end subroutine color

  subroutine setvlt(ctab)
    character(len=*), intent(in) :: ctab
    call entry_setvlt(ctab, len(ctab, kind=c_long))
  end subroutine setvlt

  ! The current date 'dd.mm.yyyy' and time 'hh:mm:ss'.
  function dddate() result(cdate)
    character(len=10) :: cdate
    call entry_dddate(cdate, len(cdate, kind=c_long))
  end function dddate

  function ddtime() result(ctime)
    character(len=8) :: ctime
    call entry_ddtime(ctime, len(ctime, kind=c_long))
  end function ddtime

  subroutine msgmod(cmode)
    character(len=*), intent(in) :: cmode
    call entry_msgmod(cmode, len(cmode, kind=c_long))
  end subroutine msgmod

  subroutine messag(text, nx, ny)
    character(len=*), intent(in) :: text
    integer(c_int), intent(in) :: nx, ny
    call entry_messag(text, nx, ny, len(text, kind=c_long))
  end subroutine messag

  function nlmess(text)
    character(len=*), intent(in) :: text
    integer(c_int) :: nlmess
    nlmess = entry_nlmess(text, len(text, kind=c_long))
  end function nlmess

  subroutine labdig(n, axes)
    integer(c_int), intent(in) :: n
    character(len=*), intent(in) :: axes
    call entry_labdig(n, axes, len(axes, kind=c_long))
  end subroutine labdig

  subroutine name(text, axes)
    character(len=*), intent(in) :: text, axes
    call entry_name(text, axes, len(text, kind=c_long), len(axes, kind=c_long))
  end subroutine name

  subroutine rimage(cfile)
    character(len=*), intent(in) :: cfile
    call entry_rimage(cfile, len(cfile, kind=c_long))
  end subroutine rimage

  subroutine rtiff(cfile)
    character(len=*), intent(in) :: cfile
    call entry_rtiff(cfile, len(cfile, kind=c_long))
  end subroutine rtiff

  subroutine rpng(cfile)
    character(len=*), intent(in) :: cfile
    call entry_rpng(cfile, len(cfile, kind=c_long))
  end subroutine rpng

  subroutine leglin(text, ilin)
    character(len=*), intent(in) :: text
    integer(c_int), intent(in) :: ilin
    call entry_leglin(text, ilin, len(text, kind=c_long))
  end subroutine leglin

  subroutine legend(cpos)
    character(len=*), intent(in) :: cpos
    call entry_legend(cpos, len(cpos, kind=c_long))
  end subroutine legend

end module stylus
